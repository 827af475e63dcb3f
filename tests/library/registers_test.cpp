// Ring: tests. The two forms of a register carried into each other and
// jumped, against the straightforward answer: stepping bit by bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tapwell/errors.hpp"
#include "tapwell/registers.hpp"

namespace tapwell {
namespace {

Register random_register(std::mt19937_64& rng, int n, RegisterForm form) {
    const std::uint64_t top = std::uint64_t{1} << (n - 1), all = top | (top - 1);
    return {Polynomial::from_value(top | (rng() & (top - 1))), std::max<std::uint64_t>(1, rng() & all), form};
}

TEST(Registers, OtherFormPutsOutTheSameBitsAndComesBack) {
    std::mt19937_64 rng(3);
    for (int n = 2; n <= 64; ++n) {
        for (RegisterForm from : {RegisterForm::fibonacci, RegisterForm::galois}) {
            const Register reg = random_register(rng, n, from);
            const RegisterForm to = from == RegisterForm::galois ? RegisterForm::fibonacci : RegisterForm::galois;
            const Register other = in_form(reg, to);
            EXPECT_EQ(other.form, to);
            EXPECT_EQ(register_bits(other, 3 * 64), register_bits(reg, 3 * 64)) << "degree " << n;
            EXPECT_EQ(in_form(other, from).state, reg.state) << "degree " << n;
        }
    }
}

TEST(Registers, JumpIsSteppingThatFar) {
    std::mt19937_64 rng(7);
    for (int n : {2, 5, 17, 31, 33, 47, 58, 63, 64}) {
        for (RegisterForm form : {RegisterForm::fibonacci, RegisterForm::galois}) {
            const Register reg = random_register(rng, n, form);
            const std::vector<std::uint8_t> bits = register_bits(reg, 400);
            for (std::uint64_t k : {0u, 1u, 2u, 63u, 64u, 65u, 200u}) {
                const std::vector<std::uint8_t> ahead = register_bits(jumped(reg, k), 200);
                EXPECT_TRUE(std::equal(ahead.begin(), ahead.end(), bits.begin() + static_cast<long>(k)))
                    << "degree " << n << " form " << int(form) << " K " << k;
            }
        }
    }
}

TEST(Registers, JumpsCompose) {
    std::mt19937_64 rng(13);
    const std::uint64_t T = 1'000'000'000'000;
    const std::uint64_t cases[][2] = {{T, 1}, {T / 3, T - T / 3}, {999'999'999'989, 11}, {1, T}};
    for (int n : {3, 31, 41, 64}) {
        for (RegisterForm form : {RegisterForm::fibonacci, RegisterForm::galois}) {
            const Register reg = random_register(rng, n, form);
            for (const auto& c : cases) {
                EXPECT_EQ(jumped(jumped(reg, c[0]), c[1]).state, jumped(reg, c[0] + c[1]).state)
                    << "degree " << n << " " << c[0] << " + " << c[1];
            }
        }
    }
    // A whole period of a primitive register brings it back.
    const Register prbs31{Polynomial::parse("x^31 + x^28 + 1", Notation::algebraic), 12345};
    EXPECT_EQ(jumped(prbs31, (1ull << 31) - 1).state, prbs31.state);
    EXPECT_EQ(jumped(in_form(prbs31, RegisterForm::galois), 3 * ((1ull << 31) - 1)).state,
              in_form(prbs31, RegisterForm::galois).state);
}

TEST(Registers, RefuseWhatNoRegisterRuns) {
    const Polynomial p = Polynomial::parse("10011");
    for (std::uint64_t state : {std::uint64_t{0}, std::uint64_t{16}}) {
        EXPECT_THROW(in_form({p, state}, RegisterForm::galois), InvalidArgument);
        EXPECT_THROW(jumped({p, state}, 5), InvalidArgument);
    }
}

}  // namespace
}  // namespace tapwell

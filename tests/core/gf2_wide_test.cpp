// Ring: tests. The 128-bit carry-less product and the reduction modulo
// polynomials of degree 1..64, each multiplier against bit-by-bit schoolbook
// arithmetic.
#include <gtest/gtest.h>

#include <random>

#include "core/gf2_mulmod.h"
#include "core/gf2_wide.h"

namespace tapwell {
namespace {

gf2::Wide schoolbook(std::uint64_t a, std::uint64_t b) {
    gf2::Wide r;
    for (int k = 0; k < 64; ++k) {
        if (!(b >> k & 1u)) continue;
        r.lo ^= a << k;
        if (k > 0) r.hi ^= a >> (64 - k);
    }
    return r;
}

// a (two words) mod P of degree n, P = x^n + low, by long division.
std::uint64_t long_division(gf2::Wide a, std::uint64_t low, int n) {
    for (int bit = 127; bit >= n; --bit) {
        const bool set = bit < 64 ? (a.lo >> bit & 1u) : (a.hi >> (bit - 64) & 1u);
        if (!set) continue;
        const int shift = bit - n;  // subtract x^shift * P
        if (bit < 64) a.lo ^= std::uint64_t{1} << bit;
        else a.hi ^= std::uint64_t{1} << (bit - 64);
        if (shift < 64) {
            a.lo ^= low << shift;
            if (shift > 0) a.hi ^= low >> (64 - shift);
        } else {
            a.hi ^= low << (shift - 64);
        }
    }
    return a.lo;
}

TEST(Gf2Wide, PortableProductIsSchoolbook) {
    std::mt19937_64 rng(128);
    for (int trial = 0; trial < 20000; ++trial) {
        const std::uint64_t a = rng(), b = rng() >> (rng() % 64);
        const gf2::Wide want = schoolbook(a, b), got = gf2::PortableMultiplier::mul_wide(a, b);
        ASSERT_EQ(got.lo, want.lo);
        ASSERT_EQ(got.hi, want.hi);
        ASSERT_EQ(gf2::PortableMultiplier::mul(a, b), want.lo);
    }
}

TEST(Gf2Wide, ReductionAgreesWithLongDivisionForEveryDegreeAndEngine) {
    std::mt19937_64 rng(64);
    for (Gf2Engine engine : {Gf2Engine::best, Gf2Engine::portable}) {
        const WideArithmetic& arith = wide_arithmetic(engine);
        for (int n = 1; n <= 64; ++n) {
            const std::uint64_t mask = ~std::uint64_t{0} >> (64 - n);
            for (int trial = 0; trial < 300; ++trial) {
                const std::uint64_t top = std::uint64_t{1} << (n - 1);
                const std::uint64_t g = top | (rng() & (top - 1));
                const gf2::WideModulus m = gf2::make_wide_modulus(g, n);
                ASSERT_EQ(m.low, ((g << 1) | 1u) & mask);
                const std::uint64_t a = rng() & mask, b = rng() & mask;
                ASSERT_EQ(arith.multiply(m, a, b), long_division(schoolbook(a, b), m.low, n)) << n << " " << g;
            }
        }
    }
}

TEST(Gf2Wide, PowersAndSquares) {
    // x^(2^64) = x modulo an irreducible polynomial of degree 64.
    const gf2::WideModulus m = gf2::make_wide_modulus((std::uint64_t{1} << 63) | 0xD, 64);  // x^64+x^4+x^3+x+1
    for (Gf2Engine engine : {Gf2Engine::best, Gf2Engine::portable}) {
        const WideArithmetic& arith = wide_arithmetic(engine);
        EXPECT_EQ(arith.square_times(m, 2, 64), 2u);
        EXPECT_EQ(arith.power(m, 2, ~std::uint64_t{0}), 1u);  // primitive: x^(2^64 - 1) = 1
        EXPECT_EQ(arith.power(m, 2, 0), 1u);
        EXPECT_EQ(arith.power(m, 2, 64), m.low);  // x^64 = x^4 + x^3 + x + 1
    }
}

}  // namespace
}  // namespace tapwell

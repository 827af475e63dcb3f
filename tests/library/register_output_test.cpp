// Ring: tests. register_bits is core's step rule bit for bit, at every width
// to 64; m_sequence is one period from state 1 with an M-sequence's counts;
// both refuse what no register runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/shift_register.h"
#include "tapwell/errors.hpp"
#include "tapwell/sequences.hpp"

namespace tapwell {
namespace {

TEST(RegisterBits, FollowTheOneStepRule) {
    std::mt19937_64 rng(5);
    for (int n = 1; n <= 64; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1), low = top - 1;
        const Polynomial p = Polynomial::from_value(top | (rng() & low));
        const std::uint64_t state = std::max<std::uint64_t>(1, rng() & (top | low));
        const std::vector<std::uint8_t> bits = register_bits({p, state}, 300);
        std::uint64_t s = state;
        const std::uint64_t taps = taps_of64(p.value(), top);
        for (std::size_t i = 0; i < bits.size(); ++i) {
            ASSERT_EQ(bits[i], s & 1u) << "degree " << n << " bit " << i;
            s = register_step64(s, taps, top);
        }
    }
}

// Whether bits obey the recurrence of p: sum over k of c_k s_(i+k) = 0.
bool obeys(const std::vector<std::uint8_t>& bits, const Polynomial& p) {
    for (std::size_t i = 0; i + p.degree() < bits.size(); ++i) {
        int sum = 0;
        for (int k = 0; k <= p.degree(); ++k) sum ^= p.coefficient(k) ? bits[i + k] : 0;
        if (sum != 0) return false;
    }
    return true;
}

// Both forms put out the characteristic polynomial's recurrence, and a
// primitive one's Galois register has the whole period too.
TEST(RegisterBits, BothFormsObeyTheCharacteristicRecurrence) {
    std::mt19937_64 rng(11);
    for (int n = 2; n <= 64; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1), low = top - 1;
        const Polynomial p = Polynomial::from_value(top | (rng() & low));
        const std::uint64_t state = std::max<std::uint64_t>(1, rng() & (top | low));
        for (RegisterForm form : {RegisterForm::fibonacci, RegisterForm::galois}) {
            EXPECT_TRUE(obeys(register_bits({p, state, form}, 200), p)) << "degree " << n << " form " << int(form);
        }
    }
    const Polynomial p = Polynomial::parse("x^10 + x^3 + 1", Notation::algebraic);
    const std::vector<std::uint8_t> g = register_bits({p, 1, RegisterForm::galois}, 2 * 1023);
    EXPECT_TRUE(std::equal(g.begin(), g.begin() + 1023, g.begin() + 1023));
    EXPECT_FALSE(std::equal(g.begin(), g.begin() + 341, g.begin() + 341));
}

// Sparse polynomials put their bits out a run of W at a time: every length
// around a run's, a byte's and a piece's end must still be the one step rule.
TEST(RegisterBits, RunsOfSparseRegistersAgreeAtEveryLength) {
    const char* polys[] = {"x^31 + x^3 + 1", "x^9 + x + 1", "x^64 + x^4 + x^3 + x + 1", "x^23 + x^5 + 1"};
    const std::size_t lengths[] = {0, 1, 63, 64, 65, 71, 100, 333, (std::size_t{1} << 20) + 29};
    for (const char* text : polys) {
        const Polynomial p = Polynomial::parse(text, Notation::algebraic);
        const std::uint64_t top = std::uint64_t{1} << (p.degree() - 1), taps = taps_of64(p.value(), top);
        for (std::size_t length : lengths) {
            const std::vector<std::uint8_t> bits = register_bits({p, 0x1D}, length);
            std::uint64_t s = 0x1D;
            for (std::size_t i = 0; i < length; ++i) {
                ASSERT_EQ(bits[i], s & 1u) << text << " length " << length << " bit " << i;
                s = register_step64(s, taps, top);
            }
        }
    }
}

TEST(RegisterBits, StopTokenEndsALongOutput) {
    std::stop_source source;
    source.request_stop();
    RunOptions options;
    options.stop = source.get_token();
    std::vector<std::uint8_t> bits(3u << 20, 7);
    const Register reg{Polynomial::parse("x^31 + x^3 + 1", Notation::algebraic), 1};
    EXPECT_THROW(register_bits(reg, bits, options), Stopped);
    register_bits(reg, bits, RunOptions{});
    EXPECT_EQ(bits, register_bits(reg, bits.size()));
}

// The window's example: 10011 from 0001 repeats after 15 bits.
TEST(RegisterBits, TheWindowsExample) {
    const std::vector<std::uint8_t> bits = register_bits({Polynomial::parse("10011"), 1}, 19);
    std::string text;
    for (std::uint8_t b : bits) text += static_cast<char>('0' + b);
    EXPECT_EQ(text, "1000100110101111000");
    std::uint8_t span_bits[4] = {9, 9, 9, 9};
    register_bits({Polynomial::parse("10011"), 1}, std::span<std::uint8_t>(span_bits, 3));
    EXPECT_EQ(span_bits[3], 9);  // nothing beyond the span
}

TEST(RegisterBits, RefuseStatesNoRegisterHolds) {
    const Polynomial p = Polynomial::parse("10011");
    const Register refused[] = {{p, 0}, {p, 16}, {Polynomial{}, 1}};
    for (const Register& r : refused) EXPECT_THROW((void)register_bits(r, 1), InvalidArgument) << r.state;
    EXPECT_NO_THROW((void)register_bits({p, 15}, 1));
    EXPECT_NO_THROW((void)register_bits({Polynomial::from_value(~std::uint64_t{0}), ~std::uint64_t{0}}, 1));
}

TEST(MSequence, OnePeriodWithItsCounts) {
    for (const char* text : {"x + 1", "x^4 + x + 1", "x^15 + x^14 + 1", "x^20 + x^17 + 1"}) {
        const Polynomial p = Polynomial::parse(text, Notation::algebraic);
        const std::vector<std::uint8_t> m = m_sequence(p);
        const std::size_t period = (std::size_t{1} << p.degree()) - 1;
        ASSERT_EQ(m.size(), period) << text;
        EXPECT_EQ(static_cast<std::size_t>(std::count(m.begin(), m.end(), 1)), (period + 1) / 2) << text;
        EXPECT_EQ(register_bits({p, 1}, period), m) << text;
    }
}

TEST(MSequence, RefusesWhatIsNoMSequence) {
    for (const char* text : {"x^4 + x^3 + x^2 + x + 1", "x^4 + 1", "x^33 + x^13 + 1"}) {
        EXPECT_THROW((void)m_sequence(Polynomial::parse(text, Notation::algebraic)), InvalidArgument) << text;
    }
    EXPECT_THROW((void)m_sequence(Polynomial{}), InvalidArgument);
}

}  // namespace
}  // namespace tapwell

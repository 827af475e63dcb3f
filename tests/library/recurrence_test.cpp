// Ring: tests. berlekamp_massey: its answer at the edges (no bits, all zeros,
// x dividing the polynomial, exactly 2L bits, L above 64) and on M-sequences,
// whose polynomial and state it must give back.
#include <gtest/gtest.h>

#include "tapwell/errors.hpp"
#include "tapwell/recurrence.hpp"
#include "tapwell/sequences.hpp"

namespace tapwell {
namespace {

std::vector<std::uint8_t> bits_of(const char* text) {
    std::vector<std::uint8_t> bits;
    for (const char* c = text; *c != 0; ++c) bits.push_back(*c == '1');
    return bits;
}

struct Case {
    const char* bits;
    std::size_t length;
    const char* polynomial;
    const char* algebraic;
    bool has_register;
    std::uint64_t state;
    bool unique;
};

constexpr Case CASES[] = {
    {"", 0, "1", "1", false, 0, true},
    {"0000000", 0, "1", "1", false, 0, true},
    // x^4 + x + 1 from state 0001: 2L bits exactly; one fewer, and x^4 + 1
    // produces them too.
    {"10001001", 4, "10011", "x^4 + x + 1", true, 1, true},
    {"1000100", 4, "10001", "x^4 + 1", true, 1, false},
    // A 1 then zeros: s[i] = 0, L = 1, polynomial x, no register.
    {"1000", 1, "10", "x", false, 0, true},
    // Zeros then a 1: L is one more than the zeros.
    {"0001", 4, "10001", "x^4 + 1", true, 8, false},
    {"1", 1, "11", "x + 1", true, 1, false},
    {"11", 1, "11", "x + 1", true, 1, true},
    // 0, 1 then the Fibonacci recurrence s[i] = s[i-1] + s[i-2].
    {"011011011", 2, "111", "x^2 + x + 1", true, 2, true},
};

TEST(BerlekampMassey, EdgeCases) {
    for (const Case& c : CASES) {
        const Recurrence r = berlekamp_massey(bits_of(c.bits));
        EXPECT_EQ(r.linear_complexity, c.length) << c.bits;
        EXPECT_EQ(r.polynomial_text, c.polynomial) << c.bits;
        EXPECT_EQ(r.algebraic_text, c.algebraic) << c.bits;
        EXPECT_EQ(r.unique, c.unique) << c.bits;
        ASSERT_EQ(r.polynomial.has_value(), c.has_register) << c.bits;
        ASSERT_EQ(r.initial_state.has_value(), c.has_register) << c.bits;
        if (c.has_register) {
            EXPECT_EQ(r.polynomial->format(), c.polynomial) << c.bits;
            EXPECT_EQ(*r.initial_state, c.state) << c.bits;
        }
    }
}

// Any non-zero byte is a 1.
TEST(BerlekampMassey, NonZeroBytesAreOnes) {
    const std::vector<std::uint8_t> bits = {7, 0, 0, 0, 255, 0, 0, 1};
    EXPECT_EQ(berlekamp_massey(bits).polynomial_text, "10011");
}

// 2L bits of an irreducible register give it back with its state; the whole
// period of an M-sequence too, and the register reproduces the input.
TEST(BerlekampMassey, RegistersComeBackWithTheirState) {
    const char* polynomials[] = {"x^7 + x^6 + 1", "x^31 + x^28 + 1", "x^63 + x + 1", "x^64 + x^4 + x^3 + x + 1",
                                 "x^64 + x^9 + x^7 + x + 1"};
    for (const char* text : polynomials) {
        const Polynomial p = Polynomial::parse(text, Notation::algebraic);
        const Register reg{p, 0x5A5A5A5A5A5A5A5Au >> (64 - p.degree())};
        const std::vector<std::uint8_t> bits = register_bits(reg, 2 * static_cast<std::size_t>(p.degree()));
        const Recurrence r = berlekamp_massey(bits);
        EXPECT_EQ(r.linear_complexity, static_cast<std::size_t>(p.degree())) << text;
        ASSERT_TRUE(r.polynomial.has_value()) << text;
        EXPECT_EQ(*r.polynomial, p) << text;
        EXPECT_EQ(r.initial_state, reg.state) << text;
        EXPECT_TRUE(r.unique) << text;
        EXPECT_EQ(r.algebraic_text, text);
    }
    const Polynomial prbs9 = Polynomial::parse("x^9 + x^5 + 1", Notation::algebraic);
    const std::vector<std::uint8_t> m = m_sequence(prbs9);
    const Recurrence r = berlekamp_massey(m);
    ASSERT_TRUE(r.polynomial && r.initial_state);
    EXPECT_EQ(*r.polynomial, prbs9);
    EXPECT_EQ(register_bits({*r.polynomial, *r.initial_state}, m.size()), m);
}

// Above 64 stages the texts still answer; no Polynomial holds it.
TEST(BerlekampMassey, LongerThanAWord) {
    std::vector<std::uint8_t> bits(200, 0);
    bits[99] = 1;  // L = 100, polynomial x^100
    const Recurrence r = berlekamp_massey(bits);
    EXPECT_EQ(r.linear_complexity, 100u);
    EXPECT_EQ(r.algebraic_text, "x^100");
    EXPECT_FALSE(r.polynomial.has_value());
    EXPECT_FALSE(r.initial_state.has_value());
    EXPECT_TRUE(r.unique);
}

TEST(BerlekampMassey, StopTokenEndsALongRun) {
    const std::vector<std::uint8_t> bits =
        register_bits({Polynomial::parse("x^31 + x^3 + 1", Notation::algebraic), 5}, 5000);
    std::stop_source source;
    source.request_stop();
    RunOptions stopped;
    stopped.stop = source.get_token();
    EXPECT_THROW(berlekamp_massey(bits, stopped), Stopped);
    const Recurrence r = berlekamp_massey(bits, RunOptions{});
    EXPECT_EQ(r.linear_complexity, 31u);
    EXPECT_EQ(r.initial_state, std::optional<std::uint64_t>(5));
}

}  // namespace
}  // namespace tapwell

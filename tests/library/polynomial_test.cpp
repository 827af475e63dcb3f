// Ring: tests. The public Polynomial: round trips in every notation to degree
// 64, refusals with core's words and the offending position, and the facts of
// published polynomials (factors, order, primitivity).
#include <gtest/gtest.h>

#include <random>

#include "core/notation.h"
#include "tapwell/errors.hpp"
#include "tapwell/polynomial.hpp"

namespace tapwell {
namespace {

constexpr Notation NOTATIONS[] = {Notation::binary,  Notation::octal,   Notation::hex,
                                  Notation::koopman, Notation::decimal, Notation::algebraic};

void expect_round_trip(Polynomial p) {
    for (Notation n : NOTATIONS) {
        const std::string text = p.format(n);
        ASSERT_EQ(Polynomial::parse(text, n), p) << notation_name(n) << " " << text;
    }
}

TEST(Polynomial, EveryNotationRoundTripsToDegree64) {
    std::mt19937_64 rng(1);
    for (int n = 1; n <= 64; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        const Polynomial lowest = Polynomial::from_value(top), highest = Polynomial::from_value(top | (top - 1));
        ASSERT_EQ(lowest.degree(), n);
        ASSERT_EQ(highest.degree(), n);
        expect_round_trip(lowest);
        expect_round_trip(highest);
        for (int trial = 0; trial < 50; ++trial) expect_round_trip(Polynomial::from_value(top | (rng() & (top - 1))));
    }
}

TEST(Polynomial, ValueCoefficientsAndWeight) {
    const Polynomial p = Polynomial::parse("x^64 + x^4 + x^3 + x + 1", Notation::algebraic);
    EXPECT_EQ(p.degree(), 64);
    EXPECT_EQ(p.value(), 0x800000000000000du);
    EXPECT_EQ(p.weight(), 5);
    const bool expected[] = {true, true, false, true, true, false};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(p.coefficient(k), expected[k]) << k;
    EXPECT_TRUE(p.coefficient(64));
    EXPECT_FALSE(p.coefficient(65));
    EXPECT_FALSE(p.coefficient(-1));
    EXPECT_EQ(Polynomial::from_coefficients(0x13), Polynomial::parse("10011"));
    EXPECT_EQ(Polynomial::from_coefficients(0x13).format(Notation::koopman), "0x9");
    EXPECT_EQ(Polynomial::parse("10011").reciprocal(), Polynomial::parse("11001"));
    EXPECT_EQ(Polynomial::parse("x^64 + x^63 + 1", Notation::algebraic).reciprocal(),
              Polynomial::parse("x^64 + x + 1", Notation::algebraic));
    // The window's order within a degree, and degree before value.
    EXPECT_LT(Polynomial::parse("10011"), Polynomial::parse("11001"));
    EXPECT_LT(Polynomial::parse("1111"), Polynomial::parse("10011"));
}

struct Refusal {
    Notation notation;
    const char* text;
    std::size_t position;
};

constexpr Refusal REFUSALS[] = {
    {Notation::binary, "10021", 4},           {Notation::binary, "10010", 0},
    {Notation::binary, "", 0},                {Notation::octal, "2019", 4},
    {Notation::hex, "0x40g", 5},              {Notation::koopman, "0", 0},
    {Notation::decimal, "1032", 0},           {Notation::algebraic, "x^10 + y + 1", 8},
    {Notation::algebraic, "x^3 + x^3 + 1", 7}, {Notation::algebraic, "x^65 + 1", 3},
    {Notation::algebraic, "x^4 +", 5},        {Notation::algebraic, "x^4 + 2", 7},
    {Notation::binary, "100000000000000000000000000000000000000000000000000000000000000001", 0},
};

// The message is the reader's reason, the words tapwell-cli prints after
// "POLY (binary): ", and the position that of the character it names.
TEST(Polynomial, ParseRefusesWithTheReadersWordsAndPosition) {
    for (const Refusal& r : REFUSALS) {
        const NotationReading reading = read_notation(r.text, r.notation);
        ASSERT_FALSE(reading.ok()) << r.text;
        try {
            (void)Polynomial::parse(r.text, r.notation);
            ADD_FAILURE() << r.text << " was read";
        } catch (const ParseError& e) {
            EXPECT_EQ(std::string(e.what()), reading.error) << r.text;
            EXPECT_EQ(e.position(), r.position) << r.text << ": " << e.what();
        }
    }
}

TEST(Polynomial, ParseErrorMessagesAreExact) {
    try {
        (void)Polynomial::parse("10021");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'2' at position 4 is not a binary digit (0 or 1)");
    }
}

TEST(Polynomial, ConstructionRefusesWhatNoRegisterHas) {
    EXPECT_THROW((void)Polynomial::from_value(0), InvalidArgument);
    for (std::uint64_t word : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{0x12}}) {
        EXPECT_THROW((void)Polynomial::from_coefficients(word), InvalidArgument) << word;
    }
    try {
        (void)Polynomial::from_coefficients(0x12);
    } catch (const InvalidArgument& e) {
        EXPECT_STREQ(e.what(), read_notation("10010", Notation::binary).error.c_str());
    }
    EXPECT_EQ(Polynomial::from_coefficients(~std::uint64_t{0}).degree(), 63);
}

TEST(Polynomial, NotationsByName) {
    for (Notation n : NOTATIONS) EXPECT_EQ(notation_named(notation_name(n)), n);
    try {
        (void)notation_named("ternary");
        ADD_FAILURE();
    } catch (const InvalidArgument& e) {
        EXPECT_STREQ(e.what(),
                     "no notation named 'ternary'; the notations are binary, octal, hex, koopman, decimal and algebraic");
    }
}

struct Known {
    const char* algebraic;
    bool irreducible;
    bool primitive;
    std::uint64_t order;
    const char* factors;  // algebraic, "^e" for multiplicities, in the order factors() gives
};

constexpr Known KNOWN[] = {
    {"x + 1", true, true, 1, "(x + 1)"},
    {"x^2 + x + 1", true, true, 3, "(x^2 + x + 1)"},
    {"x^4 + x + 1", true, true, 15, "(x^4 + x + 1)"},
    {"x^4 + x^3 + x^2 + x + 1", true, false, 5, "(x^4 + x^3 + x^2 + x + 1)"},
    {"x^4 + 1", false, false, 4, "(x + 1)^4"},
    {"x^6 + x^5 + x^4 + x^3 + 1", false, false, 15, "(x^2 + x + 1)(x^4 + x + 1)"},
    {"x^5 + x^4 + 1", false, false, 21, "(x^2 + x + 1)(x^3 + x + 1)"},
    {"x^15 + x^14 + 1", true, true, 32767, "(x^15 + x^14 + 1)"},
    {"x^31 + x^28 + 1", true, true, 2147483647, "(x^31 + x^28 + 1)"},
    {"x^63 + x + 1", true, true, 9223372036854775807u, "(x^63 + x + 1)"},
    {"x^64 + x^4 + x^3 + x + 1", true, true, 18446744073709551615u, "(x^64 + x^4 + x^3 + x + 1)"},
    {"x^64 + x^9 + x^7 + x + 1", true, false, 3689348814741910323u, "(x^64 + x^9 + x^7 + x + 1)"},
    {"x^64 + 1", false, false, 64, "(x + 1)^64"},
};

std::string written(const std::vector<Factor>& factors) {
    std::string text;
    for (const Factor& f : factors) {
        text += "(" + f.polynomial.format(Notation::algebraic) + ")";
        if (f.multiplicity > 1) text += "^" + std::to_string(f.multiplicity);
    }
    return text;
}

TEST(Polynomial, FactsOfKnownPolynomials) {
    for (const Known& k : KNOWN) {
        const Polynomial p = Polynomial::parse(k.algebraic, Notation::algebraic);
        EXPECT_EQ(p.is_irreducible(), k.irreducible) << k.algebraic;
        EXPECT_EQ(p.is_primitive(), k.primitive) << k.algebraic;
        EXPECT_EQ(p.order(), k.order) << k.algebraic;
        EXPECT_EQ(written(p.factors()), k.factors) << k.algebraic;
    }
}

// The placeholder is no register's polynomial; its questions still answer.
TEST(Polynomial, ThePlaceholderOne) {
    const Polynomial one;
    EXPECT_EQ(one.degree(), 0);
    EXPECT_FALSE(one.is_irreducible());
    EXPECT_FALSE(one.is_primitive());
    EXPECT_EQ(one.order(), 1u);
    EXPECT_TRUE(one.factors().empty());
    EXPECT_EQ(one.reciprocal(), one);
    EXPECT_EQ(one.format(), "1");
}

}  // namespace
}  // namespace tapwell

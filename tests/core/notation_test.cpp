// Ring: tests. The notations against the window's text: round trips over
// every polynomial of degrees 1 to 12 and random ones to 64, the examples of
// the literature, and the refusals with their positions.
#include <gtest/gtest.h>

#include <random>

#include "core/notation.h"
#include "core/poly_text.h"

namespace tapwell {
namespace {

void expect_round_trip(PolyWord p) {
    for (Notation n : ALL_NOTATIONS) {
        const std::string text = write_notation(p, n);
        const NotationReading back = read_notation(text, n);
        ASSERT_TRUE(back.ok()) << notation_name(n) << " " << text << ": " << back.error;
        ASSERT_EQ(back.poly, p) << notation_name(n) << " " << text;
    }
    ASSERT_EQ(reciprocal(reciprocal(p)), p);
}

TEST(Notation, EveryPolynomialToDegree12RoundTrips) {
    for (int n = 1; n <= 12; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (std::uint64_t v = top; v < 2 * top; ++v) expect_round_trip({v, n});
    }
}

TEST(Notation, RandomPolynomialsToDegree64RoundTrip) {
    std::mt19937_64 rng(64);
    for (int n = 13; n <= 64; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (int trial = 0; trial < 200; ++trial) expect_round_trip({top | (rng() & (top - 1)), n});
    }
    expect_round_trip({~std::uint64_t{0}, 64});
    expect_round_trip({std::uint64_t{1} << 63, 64});
}

// The binary notation is the window's own reading (core/poly_text.h).
TEST(Notation, BinaryIsTheWindowsText) {
    for (std::uint32_t v = 4; v < 4096; ++v) {
        const std::string text = write_notation(polynomial_of(v), Notation::binary);
        EXPECT_EQ(parse_polynomial(text), v) << text;
    }
}

struct Written {
    const char* binary;
    const char* octal;
    const char* hex;
    const char* koopman;
    const char* decimal;
    const char* algebraic;
};

// x^10 + x^3 + 1 is 2011 in the coding literature's octal and 0x204 in
// Koopman's tables; x^4 + x + 1 is the window's own example.
constexpr Written EXAMPLES[] = {
    {"10000001001", "2011", "0x409", "0x204", "1033", "x^10 + x^3 + 1"},
    {"10011", "23", "0x13", "0x9", "19", "x^4 + x + 1"},
    {"11", "3", "0x3", "0x1", "3", "x + 1"},
    {"10000000000000000000000000000000000000000000000000000000000011011", "2000000000000000000033",
     "0x1000000000000001b", "0x800000000000000d", "18446744073709551643", "x^64 + x^4 + x^3 + x + 1"},
};

TEST(Notation, ExamplesOfTheLiterature) {
    for (const Written& w : EXAMPLES) {
        const NotationReading r = read_notation(w.binary, Notation::binary);
        ASSERT_TRUE(r.ok()) << r.error;
        const char* texts[] = {w.binary, w.octal, w.hex, w.koopman, w.decimal, w.algebraic};
        for (std::size_t i = 0; i < std::size(ALL_NOTATIONS); ++i) {
            EXPECT_EQ(write_notation(r.poly, ALL_NOTATIONS[i]), texts[i]);
            const NotationReading back = read_notation(texts[i], ALL_NOTATIONS[i]);
            EXPECT_TRUE(back.ok() && back.poly == r.poly) << texts[i] << " " << back.error;
        }
    }
    const NotationReading g1 = read_notation("x^10+x^3+1", Notation::algebraic);
    EXPECT_EQ(write_notation(reciprocal(g1.poly), Notation::binary), "10010000001");
}

TEST(Notation, AlgebraicReadsSpacesCaseAndAnyOrder) {
    const char* same[] = {"x^10+x^3+1", "1 + X^3 + X^10", " x ^ 10 +x^3+ 1 ", "x^3 + 1 + x^10", "x^10 + x^3 + x^0"};
    for (const char* text : same) {
        const NotationReading r = read_notation(text, Notation::algebraic);
        ASSERT_TRUE(r.ok()) << text << ": " << r.error;
        EXPECT_EQ(write_notation(r.poly, Notation::octal), "2011") << text;
    }
    EXPECT_EQ(read_notation("x^4 + x + 1", Notation::algebraic).poly, (PolyWord{0b1001, 4}));
    EXPECT_EQ(read_notation("0X409", Notation::hex).poly, read_notation("409", Notation::hex).poly);
    EXPECT_TRUE(read_notation("0010011", Notation::binary).ok());  // leading zeros, as the window reads them
}

struct Refusal {
    Notation notation;
    const char* text;
    const char* message;   // a part of the message
    std::size_t position;  // from 1; 0 for the text as a whole
};

constexpr Refusal REFUSALS[] = {
    {Notation::binary, "10021", "'2' at position 4 is not a binary digit", 4},
    {Notation::binary, "10010", "constant term is 0: x divides x^4 + x", 0},
    {Notation::binary, "1", "degree 0", 0},
    {Notation::binary, "", "empty", 0},
    {Notation::binary, "0", "zero polynomial", 0},
    {Notation::binary, std::string_view("10\x01" "1").data(), "byte 0x01 at position 3", 3},
    {Notation::octal, "2019", "'9' at position 4 is not an octal digit", 4},
    {Notation::octal, "4000000000000000000001", "degree 65 is above 64", 0},
    {Notation::hex, "0x", "no digits", 0},
    {Notation::hex, "0x40g", "'g' at position 5", 5},
    {Notation::hex, "0x 409", "a space at position 3", 3},
    {Notation::koopman, "0", "0 is no polynomial", 0},
    {Notation::koopman, "0x10000000000000000", "degree 65 is above 64", 0},
    {Notation::decimal, "1032", "constant term is 0", 0},
    {Notation::decimal, "99999999999999999999999999999999999999999999", "far above", 0},
    {Notation::algebraic, "x^10 + y + 1", "'y' at position 8 is not a term", 8},
    {Notation::algebraic, "x^3 + x^3 + 1", "the term at position 7 repeats the power of the term at position 1", 7},
    {Notation::algebraic, "x^4 + x", "constant term is 0", 0},
    {Notation::algebraic, "x^65 + 1", "the exponent at position 3 is above 64", 3},
    {Notation::algebraic, "x^ + 1", "'+' at position 4 is not an exponent after '^' at position 2", 4},
    {Notation::algebraic, "x^4 +", "ends after the '+'", 5},
    {Notation::algebraic, "x^4 x", "'x' at position 5 is not '+'", 5},
    {Notation::algebraic, "x^4 + 2", "the number 2 at position 7 is no term", 7},
    {Notation::algebraic, "x^", "ends after '^' at position 2", 2},
    {Notation::algebraic, "   ", "empty", 0},
};

TEST(Notation, RefusalsNameTheCharacterAndItsPosition) {
    for (const Refusal& r : REFUSALS) {
        const NotationReading reading = read_notation(r.text, r.notation);
        ASSERT_FALSE(reading.ok()) << r.text;
        EXPECT_NE(reading.error.find(r.message), std::string::npos)
            << notation_name(r.notation) << " '" << r.text << "': " << reading.error;
        EXPECT_EQ(reading.position, r.position) << notation_name(r.notation) << " '" << r.text << "'";
    }
}

TEST(Notation, NamesRoundTrip) {
    for (Notation n : ALL_NOTATIONS) EXPECT_EQ(find_notation(notation_name(n)), n);
    EXPECT_FALSE(find_notation("ternary").has_value());
}

}  // namespace
}  // namespace tapwell

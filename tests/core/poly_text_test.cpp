// Ring: tests. The text form of polynomials and register values.
#include <gtest/gtest.h>

#include <string>

#include "core/poly_text.h"

namespace tapwell {
namespace {

struct ParseCase {
    std::string text;
    std::uint32_t value;
};

TEST(PolyText, ParsePolynomial) {
    const ParseCase cases[] = {
        {"10011", 9},   {"11001", 12},  {"1011", 5},         {"1000", 0},
        {"100", 0},     {"", 0},        {"10 11", 0},        {"1021", 0},
        {"0111", 3},    {"00011", 1},   {"0001", 0},         {std::string(33, '1'), 4294967295u},
        {std::string(34, '1'), 0},      {"10011 ", 0},       {"1\xff" "011", 0},
        {"1" + std::string(31, '0') + "1", 2147483648u},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_polynomial(c.text.c_str()), c.value) << c.text;
}

TEST(PolyText, ParseBinaryValue) {
    const ParseCase cases[] = {
        {"0001", 1}, {"", 0}, {"0a01", 0}, {std::string(32, '1'), 4294967295u},
        {std::string(33, '1'), 0}, {"1010", 10}, {"0", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_binary_value(c.text.c_str()), c.value) << c.text;
}

TEST(PolyText, FormatBinaryAndBitLength) {
    struct Case {
        std::uint32_t value;
        std::string text;
        int bits;
    };
    const Case cases[] = {
        {0, "", 0},
        {1, "1", 1},
        {9, "1001", 4},
        {2147483648u, "1" + std::string(31, '0'), 32},
        {4294967295u, std::string(32, '1'), 32},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(format_binary(c.value).view(), c.text);
        EXPECT_EQ(std::string(format_binary(c.value).c_str()), c.text);
        EXPECT_EQ(bit_length(c.value), c.bits);
    }
}

TEST(PolyText, WrittenFormRoundTripsFromDegreeThree) {
    // The written form is the binary text plus the constant term's 1.
    for (std::uint32_t v : {5u, 9u, 12u, 0x80000001u, 0xFFFFFFFFu}) {
        std::string written = std::string(format_binary(v).view()) + "1";
        EXPECT_EQ(parse_polynomial(written.c_str()), v);
    }
    // "0111" has degree 2; its written form "111" is too short to read back.
    EXPECT_EQ(parse_polynomial((std::string(format_binary(3).view()) + "1").c_str()), 0u);
}

}  // namespace
}  // namespace tapwell

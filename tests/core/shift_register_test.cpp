// Ring: tests. The register step, the bank operations and the reading of the
// list text, on a bank of the test's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/shift_register.h"

namespace tapwell {
namespace {

std::vector<std::uint32_t> states(ShiftRegister r, int steps) {
    std::vector<std::uint32_t> out;
    for (int i = 0; i < steps; ++i) {
        out.push_back(r.state);
        register_step(r);
    }
    return out;
}

TEST(ShiftRegister, StateSequences) {
    struct Case {
        const char* list;
        ShiftRegister expected;
        std::vector<std::uint32_t> states;
    };
    const Case cases[] = {
        {"10011\r\n0001", {9, 4, 8, 3, 1}, {1, 8, 4, 2, 9, 12, 6, 11, 5, 10, 13, 14, 15, 7, 3, 1}},
        {"11001\r\n0001", {12, 4, 8, 9, 1}, {1, 8, 12, 14, 15, 7, 11, 5, 10, 13, 6, 3, 9, 4, 2, 1}},
    };
    for (const auto& c : cases) {
        RegisterBank bank;
        parse_register_list(bank, c.list, 1);
        const ShiftRegister& r = bank.registers[0];
        EXPECT_EQ(r.poly, c.expected.poly);
        EXPECT_EQ(r.degree, c.expected.degree);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.taps, c.expected.taps);
        EXPECT_EQ(r.state, c.expected.state);
        EXPECT_EQ(states(r, 16), c.states) << c.list;
    }
}

TEST(ShiftRegister, AdvanceTakesWidthSteps) {
    RegisterBank bank;
    parse_register_list(bank, "10011\n0001", 1);
    bank.output_width = 4;
    std::vector<std::uint32_t> seen;
    for (int i = 0; i < 6; ++i) {
        seen.push_back(bank.registers[0].state);
        register_advance(bank, 0);
    }
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{1, 9, 5, 15, 8, 12}));
}

TEST(ShiftRegister, BankStepAndUnusableRegisters) {
    RegisterBank bank;
    parse_register_list(bank, "10011\n0001\n11001\n0001", 2);
    bank.registers[2].state = 6;  // top 0: only shifts
    bank_step(bank, 0);
    EXPECT_EQ(bank.registers[0].state, 1u);
    bank_step(bank, 3);
    EXPECT_EQ(bank.registers[0].state, 8u);
    EXPECT_EQ(bank.registers[1].state, 8u);
    EXPECT_EQ(bank.registers[2].state, 3u);
    // Stale taps of an unusable register never feed back.
    bank.registers[2] = {0, 0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
    bank_step(bank, 3);
    EXPECT_EQ(bank.registers[2].state, 0x7FFFFFFFu);
}

TEST(ShiftRegister, Degree32FeedbackEntersTheTopBit) {
    // x^32 + x^22 + x^2 + x + 1: one step from state 1 feeds the constant
    // term's tap into bit 31, with nothing lost to a 32-bit mask.
    ShiftRegister r;
    r.poly = 0x80200003u;  // coefficients of x^32..x^1
    r.degree = 32;
    r.top = 1u << 31;
    r.taps = taps_of(r.poly, r.top);
    r.state = 1;
    register_step(r);
    EXPECT_EQ(r.state, 1u << 31);  // taps bit 0 (constant term) sees the 1
}

struct ParseCase {
    const char* name;
    std::string list;
    int entries;
    // poly, top and state of registers 0 and 1
    std::uint32_t poly0, top0, state0, poly1, top1, state1;
};

TEST(ShiftRegister, ListReading) {
    const std::string long_line(400, '1');
    const ParseCase cases[] = {
        {"crlf", "10011\r\n0001", 2, 9, 8, 1, 0, 0, 0},
        {"lone lf", "10011\n0001\n11001\n1", 2, 9, 8, 1, 12, 8, 1},
        {"blank lines", "10011\r\n\r\n0001\r\n\r\n\r\n11001\r\n0001", 2, 9, 8, 1, 12, 8, 1},
        {"tab", "10011\t0001", 2, 9, 8, 1, 0, 0, 0},
        {"starts with a break", "\r\n10011\r\n0001", 2, 0, 0, 0, 0, 0, 0},
        {"trailing space", "10011 \r\n0001", 2, 0, 0, 0, 0, 0, 0},
        {"initial too long deg3", "1001\n0001", 1, 4, 0, 0, 0, 0, 0},
        {"initial fits deg3", "1001\n001", 1, 4, 4, 1, 0, 0, 0},
        {"initial too long deg4", "10011\n00001", 1, 9, 0, 0, 0, 0, 0},
        {"initial short", "10011\n01", 1, 9, 8, 1, 0, 0, 0},
        {"no initial line", "10011", 2, 9, 8, 0, 0, 0, 0},
        {"degree 2", "0111\n01", 1, 3, 0, 1, 0, 0, 0},
        {"high byte", "10011\r\n0\x82\x9f\n11001\n1", 2, 9, 8, 0, 0, 0, 0},
        {"high byte mid line", "10011\r\n00\xe3" "1\r\n11001\r\n1", 2, 9, 8, 0, 0, 0, 0},
        {"empty", "", 2, 0, 0, 0, 0, 0, 0},
        {"long polynomial line", long_line + "\n1\n11001\n1", 2, 0, 0, 0, 12, 8, 1},
        {"long initial line", "10011\n" + long_line + "\n11001\n1", 2, 9, 0, 0, 12, 8, 1},
        {"non-digit initial", "10011\n0a01", 1, 9, 8, 0, 0, 0, 0},
        {"zero byte ends the text", std::string("10011\n1\0" "11001\n1", 15), 2, 9, 8, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        RegisterBank bank;
        parse_register_list(bank, c.list, c.entries);
        const auto& r0 = bank.registers[0];
        const auto& r1 = bank.registers[1];
        EXPECT_EQ(r0.poly, c.poly0) << c.name;
        EXPECT_EQ(r0.top, c.top0) << c.name;
        EXPECT_EQ(r0.state, c.state0) << c.name;
        EXPECT_EQ(r1.poly, c.poly1) << c.name;
        EXPECT_EQ(r1.top, c.top1) << c.name;
        EXPECT_EQ(r1.state, c.state1) << c.name;
    }
}

TEST(ShiftRegister, ParseLeavesWhatItDoesNotWrite) {
    RegisterBank bank;
    bank.registers[0].taps = 77;
    bank.registers[1].state = 5;
    bank.registers[2] = {1, 2, 3, 4, 5};
    // Register 0: degree 2, taps kept. Register 1: initial too long, state kept.
    parse_register_list(bank, "0111\n1\n10011\n100000", 2);
    EXPECT_EQ(bank.registers[0].taps, 77u);
    EXPECT_EQ(bank.registers[1].top, 0u);
    EXPECT_EQ(bank.registers[1].state, 5u);
    EXPECT_EQ(bank.registers[2].taps, 4u);
    EXPECT_EQ(bank.registers[2].state, 5u);
}

}  // namespace
}  // namespace tapwell

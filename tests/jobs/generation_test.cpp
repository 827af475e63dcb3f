// Ring: tests. The generation job through the recording front end.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "jobs/job_frame.h"
#include "jobs/system_texts.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "core/shift_register.h"
#include "core/poly_text.h"
#include "tests/reference/helpers.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

using testing::JobFixture;
using Lines = std::vector<std::string>;

constexpr const char* ONE = "10011\r\n0001";
constexpr const char* TWO = "10011\r\n0001\r\n11001\r\n0001";

struct Generate : JobFixture {
    // The job on what these texts and choices read as.
    JobOutcome generate(int mode, const char* width, const char* count, const std::string& list,
                        bool show_register = false) {
        set_setting(SET_LANGUAGE, 1);
        return run(testing::bound(run_generation, read_generation_input(width, count, list, mode, show_register)),
                   RUN_GENERATE);
    }
    // Generate pressed with these texts in the window's entries and these
    // settings.
    JobOutcome start(int mode, const char* width, const char* count, const std::string& list,
                     bool show_register = false) {
        set_setting(SET_LANGUAGE, 1);
        set_setting(SET_GEN_MODE, mode);
        set_setting(SET_SHOW_REGISTER, show_register ? 1 : 0);
        set_text_slot(SLOT_WIDTH, width);
        set_text_slot(SLOT_OUTPUT_COUNT, count);
        set_text_slot(SLOT_POLY_LIST, list.c_str());
        return run(generate_sequences, RUN_GENERATE);
    }
};

std::string as_result(const Lines& values) {
    std::string s;
    for (const auto& v : values) s += v + "\r\n";
    return s;
}

TEST(Generation, WorkedExamples) {
    struct Case {
        int mode;
        const char* width;
        bool show;
        const char* list;
        Lines header;
        Lines values;
    };
    const Lines serial_header = {"polynominal=10011, initial=1"};
    const Lines two_header_parallel = {"polynominal bit0=10011, initial=1",
                                       "polynominal bit1=11001, initial=1"};
    const Lines gold_header = {"polynominal_A=10011, initial=1", "polynominal_B=11001, initial=1"};
    const Case cases[] = {
        {0, "1", false, ONE, serial_header,
         {"1", "0", "0", "0", "1", "0", "0", "1", "1", "0", "1", "0", "1", "1", "1"}},
        {0, "1", true, ONE, serial_header,
         {"1, 1", "0, 8", "0, 4", "0, 2", "1, 9", "0, 12", "0, 6", "1, 11", "1, 5", "0, 10", "1, 13",
          "0, 14", "1, 15", "1, 7", "1, 3"}},
        {0, "4", false, ONE, serial_header,
         {"1", "9", "5", "15", "8", "12", "10", "7", "4", "6", "13", "3", "2", "11", "14"}},
        {1, "2", false, TWO, two_header_parallel,
         {"3", "0", "0", "0", "3", "2", "2", "3", "1", "2", "1", "2", "3", "1", "1"}},
        {1, "2", true, TWO, two_header_parallel,  // the register display has no effect
         {"3", "0", "0", "0", "3", "2", "2", "3", "1", "2", "1", "2", "3", "1", "1"}},
        {2, "1", true, TWO, gold_header,
         {"0, 1, 1", "0, 8, 8", "0, 4, 12", "0, 2, 14", "0, 9, 15", "1, 12, 7", "1, 6, 11",
          "0, 11, 5", "1, 5, 10", "1, 10, 13", "1, 13, 6", "1, 14, 3", "0, 15, 9", "1, 7, 4",
          "1, 3, 2"}},
        {2, "4", false, TWO, gold_header,
         {"0", "6", "15", "6", "0", "11", "7", "3", "8", "13", "11", "1", "12", "14", "13"}},
        // Parallel width 1 is the serial sequence, always without states.
        {1, "1", true, ONE, {"polynominal bit0=10011, initial=1"},
         {"1", "0", "0", "0", "1", "0", "0", "1", "1", "0", "1", "0", "1", "1", "1"}},
        // No initial-value line: state 0 for ever.
        {0, "1", false, "10011", {"polynominal=10011, initial="}, Lines(15, "0")},
    };
    for (const auto& c : cases) {
        Generate g;
        EXPECT_EQ(g.start(c.mode, c.width, "0", c.list, c.show), JobOutcome::finished);
        Lines log = c.header;
        log.insert(log.end(), c.values.begin(), c.values.end());
        log.push_back("Completed.");
        EXPECT_EQ(g.log_lines(), log) << "mode " << c.mode << " width " << c.width;
        EXPECT_EQ(text_slot(SLOT_RESULT), as_result(c.values));
        EXPECT_EQ(status_text(), "Completed.\n");
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
        EXPECT_EQ(generated_count.load(), 15u);
    }
}

TEST(Generation, GoldWithNarrowRegisterB) {
    // Register B of degree 3 under a width of 4: valid; the top bit comes from A.
    Generate g;
    g.generate(2, "4", "3", "10011\n0001\n1011\n111");
    EXPECT_EQ(g.log_lines(), (Lines{"polynominal_A=10011, initial=1", "polynominal_B=1011, initial=111",
                                    "6", "11", "6", "Completed."}));
}

TEST(Generation, CountsAndCap) {
    struct Case {
        const char* count;
        std::uint32_t values;
        bool note_written;
    };
    // A degree-8 register has room for all of these within one period.
    const Case cases[] = {
        {"3", 3, false}, {"71", 71, false}, {"72", 72, true}, {"100", 100, true}, {"", 255, true},
        {"  12abc", 12, false},
    };
    for (const auto& c : cases) {
        Generate g;
        g.generate(0, "8", c.count, "100011101\n1");
        const Lines log = g.log_lines();
        ASSERT_EQ(log.size(), c.values + 2) << c.count;
        EXPECT_EQ(log.back(), "Completed.");
        // The result shows the values with index 0..70, each with CR LF.
        Lines shown(log.begin() + 1, log.begin() + 1 + std::min<std::uint32_t>(c.values, 71));
        EXPECT_EQ(text_slot(SLOT_RESULT), as_result(shown)) << c.count;
        EXPECT_EQ(status_text(), "Completed.\n");
        EXPECT_EQ(g.front.shown.size(), shown.size());
        // The note was in the status before "Completed." replaced it: the front end
        // saw one repaint for it beyond the begin and the end.
        EXPECT_EQ(g.front.repaints, c.note_written ? 3 : 2) << c.count;
    }
}

TEST(Generation, FullWidthAndDefaultCountAtDegree32) {
    // Width 32 keeps all bits; only a few values, the default would be 2^32 - 1.
    const std::string poly = "1" + std::string(9, '0') + "1" + std::string(19, '0') + "111";
    Generate g;
    g.generate(0, "32", "2", poly + "\n1");
    const Lines log = g.log_lines();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1], "1");
    EXPECT_EQ(log[2], "2148533249");  // a_32..a_63 of the recurrence, a_63 at bit 31
}

TEST(Generation, ParameterErrors) {
    struct Case {
        const char* name;
        int mode;
        const char* width;
        std::string list;
    };
    const Case cases[] = {
        {"width 0", 0, "0", ONE},
        {"width 33", 0, "33", ONE},
        {"width not a number", 0, "x", ONE},
        {"empty list", 0, "1", ""},
        {"degree below 3", 0, "1", "0111\n1"},
        {"initial longer than degree", 0, "1", "10011\n00001"},
        {"serial wider than degree", 0, "5", ONE},
        {"parallel width 3, two registers", 1, "3", TWO},
        {"parallel wider than degree", 1, "5", TWO},
        {"gold without B", 2, "1", ONE},
        {"gold wider than A", 2, "5", TWO},
    };
    for (const auto& c : cases) {
        Generate g;
        set_text_slot(SLOT_RESULT, "old");
        EXPECT_EQ(g.generate(c.mode, c.width, "0", c.list), JobOutcome::rejected) << c.name;
        EXPECT_EQ(g.log_text(), "") << c.name;
        EXPECT_STREQ(text_slot(SLOT_RESULT), "") << c.name;
        EXPECT_TRUE(g.front.shown.empty()) << c.name;
        EXPECT_EQ(status_text(), "Invalid parameter\n") << c.name;
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
    }
}

TEST(Generation, ListTextsAsUsersTypeThem) {
    const std::string long_line(500, '1');
    const std::string gold_ok = "polynominal_A=10011, initial=1";
    struct Case {
        const char* name;
        int mode;
        std::string list;
        std::string first_log_line;  // empty: the parameters are rejected
    };
    const Case cases[] = {
        {"crlf", 2, "10011\r\n0001\r\n11001\r\n0001", gold_ok},
        {"lone lf", 2, "10011\n0001\n11001\n0001", gold_ok},
        {"tab", 2, "10011\t0001\t11001\t0001", gold_ok},
        {"blank lines", 2, "10011\r\n\r\n0001\n\n\n11001\r\n\r\n0001\r\n", gold_ok},
        {"begins with a break", 0, "\r\n10011\r\n0001", ""},
        {"trailing space", 0, "10011 \r\n0001", ""},
        {"trailing space on the value", 0, "10011\r\n0001 ", ""},  // 5 characters > degree 4
        {"initial longer than the degree", 0, "1001\r\n0001", ""},
        {"high byte after the value", 0, "10011\r\n0\x82\xa0\r\n", "polynominal=10011, initial="},
        {"high byte cuts register B", 2, "10011\r\n1\x82\xa0\r\n11001\r\n1", ""},
        {"long polynomial line", 0, long_line + "\r\n1", ""},
        {"long value line", 0, "10011\r\n" + long_line, ""},
        {"long line as register 1's polynomial", 1,
         "10011\r\n1\r\n" + long_line + "\r\n\r\n11001\r\n1", ""},
        {"long line in a register not used", 0, "10011\r\n1\r\n" + long_line, "polynominal=10011, initial=1"},
    };
    for (const auto& c : cases) {
        Generate g;
        g.generate(c.mode, c.mode == 1 ? "2" : "1", "3", c.list);
        const Lines log = g.log_lines();
        if (c.first_log_line.empty()) {
            EXPECT_TRUE(log.empty()) << c.name;
            EXPECT_EQ(status_text(), "Invalid parameter\n") << c.name;
        } else {
            ASSERT_FALSE(log.empty()) << c.name;
            EXPECT_EQ(log.front(), c.first_log_line) << c.name;
            EXPECT_EQ(status_text(), "Completed.\n") << c.name;
        }
    }
}

TEST(Generation, JapaneseParameterMessage) {
    Generate g;
    set_setting(SET_GEN_MODE, 0);
    set_setting(SET_LANGUAGE, 0);
    set_text_slot(SLOT_WIDTH, "0");
    set_text_slot(SLOT_POLY_LIST, ONE);
    g.run(generate_sequences, RUN_GENERATE);
    EXPECT_EQ(status_text(), message_table[2 * MSG_INVALID_PARAMETER]);
}

TEST(Generation, UnknownModeWritesNothing) {
    Generate g;
    EXPECT_EQ(g.start(7, "1", "0", ONE), JobOutcome::finished);
    EXPECT_EQ(g.log_text(), "");
    EXPECT_EQ(status_text(), "");
    EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
}

// The serial mode formats straight into the log unless register states are
// shown; both ways give the same numbers.
TEST(Generation, SerialValuesWithAndWithoutRegisterStates) {
    for (int width : {1, 3, 10}) {
        Lines plain, with_state;
        for (int show : {0, 1}) {
            testing::JobFixture f;
            const GenerationInput input =
                read_generation_input(std::to_string(width).c_str(), "3000", "10000001001\n101", 0, show != 0);
            f.run(testing::bound(run_generation, input), RUN_GENERATE);
            (show ? with_state : plain) = f.log_lines();
        }
        ASSERT_EQ(plain.size(), 3002u);
        ASSERT_EQ(with_state.size(), plain.size());
        for (std::size_t k = 1; k + 1 < plain.size(); ++k) {
            ASSERT_EQ(with_state[k].substr(0, with_state[k].find(',')), plain[k]) << width << " " << k;
        }
        EXPECT_EQ(plain.back(), "Completed.");
    }
}

// Every mode, with and without register states, against the bank stepped one
// register at a time (register_advance, bank_step): random polynomials of
// every degree, random states and widths, the parallel mode with registers of
// different degrees.
TEST(Generation, EveryModeGivesTheValuesOfSteppingTheBank) {
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        const int mode = round % 3;
        const int width = 1 + static_cast<int>(rng() % 32);
        std::string list;
        RegisterBank bank;
        for (int j = 0; j < 32; ++j) {
            const int degree = j == 0 ? width + static_cast<int>(rng() % (33 - width)) : 3 + static_cast<int>(rng() % 30);
            const int n = degree < 3 ? 3 : degree;
            const std::uint32_t top = 1u << (n - 1);
            const std::uint32_t poly = top | (static_cast<std::uint32_t>(rng()) & (top - 1));
            const std::uint32_t state = static_cast<std::uint32_t>(rng()) & (top | (top - 1));
            // A blank line would vanish from the list: state 0 is written "0".
            list += testing::poly_text(poly) + "\n" + (state == 0 ? "0" : std::string(format_binary(state).view())) + "\n";
        }
        parse_register_list(bank, list, REGISTER_COUNT);
        bank.output_width = width;
        const bool show = rng() % 2 == 0;
        const std::uint32_t count = 200;
        Lines expected;
        const std::uint32_t mask = width == 32 ? ~0u : (1u << width) - 1u;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t a = bank.registers[0].state, b = bank.registers[1].state;
            if (mode == 0) {
                expected.push_back(std::to_string(a & mask) + (show ? ", " + std::to_string(a) : ""));
                register_advance(bank, 0);
            } else if (mode == 1) {
                std::uint32_t word = 0;
                for (int j = 0; j < width; ++j) word |= (bank.registers[j].state & 1u) << j;
                expected.push_back(std::to_string(word));
                bank_step(bank, width);
            } else {
                expected.push_back(std::to_string((a ^ b) & mask) +
                                   (show ? ", " + std::to_string(a) + ", " + std::to_string(b) : ""));
                register_advance(bank, 0);
                register_advance(bank, 1);
            }
        }
        Generate g;
        ASSERT_EQ(g.generate(mode, std::to_string(width).c_str(), "200", list, show), JobOutcome::finished);
        Lines log = g.log_lines();
        const std::size_t headers = mode == 0 ? 1 : mode == 1 ? static_cast<std::size_t>(width) : 2;
        ASSERT_EQ(log.size(), headers + count + 1) << "mode " << mode << " width " << width;
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), log.begin() + static_cast<long>(headers)))
            << "mode " << mode << " width " << width << " show " << show;
    }
}

}  // namespace
}  // namespace tapwell

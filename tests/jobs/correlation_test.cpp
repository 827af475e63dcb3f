// Ring: tests. The correlation job and the one-phase measure: worked examples,
// the display cap, parameter errors, and the log of stepping every phase.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/shift_register.h"
#include "jobs/cross_correlation.h"
#include "jobs/job_frame.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "library/correlation.h"
#include "core/primitivity.h"
#include "tests/reference/helpers.h"
#include "tests/reference/stepping.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

using testing::JobFixture;
using Lines = std::vector<std::string>;
using testing::poly_text;

struct Correlate : JobFixture {
    JobOutcome correlate(const std::string& list) {
        set_setting(SET_LANGUAGE, 1);
        set_text_slot(SLOT_POLY_LIST, list.c_str());
        return run(correlate_pair, RUN_CORRELATE);
    }
};

TEST(Correlation, WorkedExamples) {
    struct Case {
        const char* list;
        const char* a;
        const char* b;
        std::vector<int> r;
        const char* end;
    };
    const Case cases[] = {
        {"10011\r\n0001\r\n11001\r\n0001", "10011", "11001",
         {-1, 3, 3, -1, 7, -5, 3, -1, 7, 3, -5, -1, -1, -5, -5}, "Completed. sum|r+1| = 48"},
        {"10011\r\n1\r\n10011\r\n1", "10011", "10011",
         {15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, "Completed. sum|r+1| = 16"},
        {"1011\n1\n1101\n1", "1011", "1101", {3, -1, 3, -1, 3, -1, -5}, "Completed. sum|r+1| = 16"},
        // The initial values only decide usability: every phase sets the states.
        {"1011\n000\n1101\n0", "1011", "1101", {3, -1, 3, -1, 3, -1, -5}, "Completed. sum|r+1| = 16"},
    };
    for (const auto& c : cases) {
        Correlate j;
        EXPECT_EQ(j.correlate(c.list), JobOutcome::finished);
        Lines log = {std::string("polynominal_A=") + c.a, std::string("polynominal_B=") + c.b};
        std::string result;
        for (std::size_t dt = 0; dt < c.r.size(); ++dt) {
            log.push_back("dt=" + std::to_string(dt) + ", r= " + std::to_string(c.r[dt]));
            result += log.back() + "\r\n";
        }
        log.push_back(c.end);
        EXPECT_EQ(j.log_lines(), log) << c.list;
        EXPECT_EQ(text_slot(SLOT_RESULT), result);
        EXPECT_EQ(status_text(), std::string(c.end) + "\n");
        EXPECT_EQ(found_count.load(), c.r.size());
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
    }
}

TEST(Correlation, Degree7CapAndMSequenceProperties) {
    Correlate j;
    j.correlate("10000011\n1\n10001001\n1");
    const Lines log = j.log_lines();
    ASSERT_EQ(log.size(), 2u + 127u + 1u);
    // The result lists dt = 0..69; the note came at dt = 70 and was replaced.
    std::string result;
    for (int dt = 0; dt < 70; ++dt) result += log[2 + dt] + "\r\n";
    EXPECT_EQ(text_slot(SLOT_RESULT), result);
    EXPECT_EQ(j.front.shown.size(), 70u);
    EXPECT_EQ(j.front.repaints, 3);  // begin, note, end
    // Over all shifts of two M-sequences the r values sum to 1.
    long total = 0;
    for (int dt = 0; dt < 127; ++dt) total += std::stol(log[2 + dt].substr(log[2 + dt].find("r= ") + 3));
    EXPECT_EQ(total, 1);
    EXPECT_EQ(status_text().rfind("Completed. sum|r+1| = ", 0), 0u);
}

TEST(Correlation, DegreesUpTo6ShowEveryPhase) {
    const char* lists[] = {"1011\n1\n1101\n1", "10011\n1\n11001\n1", "100101\n1\n111101\n1",
                           "1000011\n1\n1100111\n1"};
    for (const char* list : lists) {
        Correlate j;
        j.correlate(list);
        EXPECT_EQ(j.front.shown.size(), j.log_lines().size() - 3) << list;
        EXPECT_EQ(j.front.repaints, 2) << list;  // no note
    }
}

TEST(Correlation, ParameterErrors) {
    const char* lists[] = {
        "10011\n1\n100101\n1",    // different degrees
        "10010\n1\n11001\n1",     // A does not parse
        "10011\n1\n11001\n100000",  // B's initial value longer than its degree
        "10011\n\n11001\n1",      // blank line vanishes: 11001 is A's initial value
        "10011\n1",               // no B
        "",
        "0111\n1\n0111\n1",       // degree 2
    };
    for (const char* list : lists) {
        Correlate j;
        j.correlate(list);
        EXPECT_EQ(j.log_text(), "") << list;
        EXPECT_EQ(status_text(), "Invalid parameter\n") << list;
        EXPECT_STREQ(text_slot(SLOT_RESULT), "");
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
    }
}

TEST(Correlation, OnePhaseOfASequenceWithItselfIsItsPeriod) {
    // At degree 32 the same sequence against itself agrees on all 2^32 - 1
    // steps, beyond 32 signed bits; a degree-20 phase is run, the width of the
    // value checked at compile time.
    RegisterBank bank;
    parse_register_list(bank, "100000000000000001001\n1\n100000000000000001001\n1", 2);
    ASSERT_NE(bank.registers[0].top, 0u);
    const ShiftRegister& a = bank.registers[0];
    std::int64_t r = 0;
    ASSERT_TRUE(stepped_phase({a.taps, a.top, a.taps, a.top}, 1, r, nullptr));
    EXPECT_EQ(r, (1 << 20) - 1);
    static_assert(sizeof(r) == 8);
}

Lines stepping_correlation_log(int n, std::uint32_t ga, std::uint32_t gb) {
    Lines log{"polynominal_A=" + poly_text(ga), "polynominal_B=" + poly_text(gb)};
    std::uint64_t sum = 0;
    const auto r = reference::all_phases(n, ga, gb);
    for (std::size_t dt = 0; dt < r.size(); ++dt) {
        sum += static_cast<std::uint64_t>(r[dt] + 1 < 0 ? -(r[dt] + 1) : r[dt] + 1);
        log.push_back("dt=" + std::to_string(dt) + ", r= " + std::to_string(r[dt]));
    }
    log.push_back("Completed. sum|r+1| = " + std::to_string(sum));
    return log;
}

TEST(Correlation, LogsWhatSteppingLogs) {
    std::mt19937 rng(21);
    struct Case {
        int n;
        std::uint32_t ga, gb;
    };
    std::vector<Case> cases = {
        {4, 0b1001, 0b1100}, {5, 0b10010, 0b10010}, {8, 0x80, 0x8E}, {8, 0b10000011, 0b10000110},
    };
    for (int n : {6, 9, 11}) {
        const std::uint32_t top = 1u << (n - 1);
        cases.push_back({n, top | (static_cast<std::uint32_t>(rng()) & (top - 1)), top | (static_cast<std::uint32_t>(rng()) & (top - 1))});
    }
    for (const Case& c : cases) {
        testing::JobFixture f;
        set_text_slot(SLOT_POLY_LIST, (poly_text(c.ga) + "\n1\n" + poly_text(c.gb) + "\n1").c_str());
        f.run(correlate_pair, RUN_CORRELATE);
        const Lines expected = stepping_correlation_log(c.n, c.ga, c.gb);
        EXPECT_EQ(f.log_lines(), expected) << c.n << " " << c.ga << " " << c.gb;
        EXPECT_EQ(found_count.load(), (1u << c.n) - 1u);
        EXPECT_EQ(status_text(), expected.back() + "\n");
    }
}

// Above degree 21 sum|r+1| of two different M-sequences passes 2^31 - 1 (the
// values are of the order of 2^(n/2)): the end line must carry the whole
// 64-bit total. Checked against the sum of the r values the log itself holds.
TEST(Correlation, TotalBeyond32BitsIsExact) {
    const int n = 22;
    std::vector<std::uint32_t> pair;
    for (std::uint32_t g = 1u << (n - 1); pair.size() < 2; ++g) {
        if (is_primitive_fast(g, n)) pair.push_back(g);
    }
    testing::JobFixture f;
    set_text_slot(SLOT_POLY_LIST, (poly_text(pair[0]) + "\n1\n" + poly_text(pair[1]) + "\n1").c_str());
    f.run(correlate_pair, RUN_CORRELATE);
    const std::string log = f.log_text();
    const std::string head = "polynominal_A=" + poly_text(pair[0]) + "\npolynominal_B=" + poly_text(pair[1]) + "\n";
    ASSERT_EQ(log.compare(0, head.size(), head), 0);
    std::uint64_t sum = 0;
    std::uint32_t phases = 0;
    std::size_t at = head.size();
    for (;;) {
        const std::size_t end = log.find('\n', at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = log.substr(at, end - at);
        at = end + 1;
        if (line.rfind("dt=", 0) != 0) {
            EXPECT_EQ(line, "Completed. sum|r+1| = " + std::to_string(sum));
            break;
        }
        const std::string prefix = "dt=" + std::to_string(phases) + ", r= ";
        ASSERT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
        const long long r = std::stoll(line.substr(prefix.size()));
        sum += static_cast<std::uint64_t>(r + 1 < 0 ? -(r + 1) : r + 1);
        ++phases;
    }
    EXPECT_EQ(at, log.size());
    EXPECT_EQ(phases, (1u << n) - 1u);
    EXPECT_GT(sum, std::uint64_t{0x7FFFFFFF});
    EXPECT_EQ(status_text(), "Completed. sum|r+1| = " + std::to_string(sum) + "\n");
}

}  // namespace
}  // namespace tapwell

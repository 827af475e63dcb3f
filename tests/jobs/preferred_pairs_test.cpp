// Ring: tests. The preferred pair search over the finds of a primitive search:
// counts per degree, the degree-5 lines, the cap, parameter errors, and the
// log of stepping every pair.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/shift_register.h"
#include "jobs/job_frame.h"
#include "library/pair_phases.h"
#include "jobs/preferred_pairs.h"
#include "jobs/primitive_search.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "runtime/worker_pool.h"
#include "tapwell/preferred_values.hpp"
#include "tests/reference/helpers.h"
#include "tests/reference/order_walk.h"
#include "tests/reference/stepping.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

using testing::JobFixture;
using Lines = std::vector<std::string>;
using testing::poly_text;

struct Pairs : JobFixture {
    // A full primitive search of degree n, as pressing Start would leave it.
    void search_degree(int n) {
        set_text_slot(SLOT_SEARCH_FROM, testing::lowest_of_degree(n).c_str());
        set_text_slot(SLOT_FIND_COUNT, "0");
        run(search_primitive, RUN_PRIMITIVE_SEARCH);
    }
    Lines pairs(const char* count) {
        const std::size_t before = log_lines().size();
        set_setting(SET_LANGUAGE, 1);
        set_text_slot(SLOT_FIND_COUNT, count);
        run(search_preferred_pairs, RUN_PAIR_SEARCH);
        const Lines all = log_lines();
        return Lines(all.begin() + static_cast<long>(before), all.end());
    }
};

TEST(PreferredPairs, Degrees3To8) {
    struct Case {
        int n;
        int polynomials;
        std::uint32_t found;
    };
    const Case cases[] = {{3, 2, 1}, {4, 2, 0}, {5, 6, 12}, {6, 6, 6}, {7, 18, 90}, {8, 16, 0}};
    for (const auto& c : cases) {
        Pairs p;
        p.search_degree(c.n);
        const Lines log = p.pairs("0");
        ASSERT_EQ(log.size(), c.found + 2) << c.n;
        EXPECT_EQ(log.front(), "Seaching for Preferred pair Tapwell. n=" + std::to_string(c.n) +
                                   ", No. of polynominal=" + std::to_string(c.polynomials));
        EXPECT_EQ(log.back(), "Completed. found = " + std::to_string(c.found));
        EXPECT_EQ(status_text(), log.back() + "\n");
        const std::uint32_t pairs = c.polynomials * (c.polynomials - 1) / 2;
        EXPECT_EQ(pairs_checked.load(), pairs);
        EXPECT_EQ(pairs_total.load(), static_cast<float>(pairs));
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
        if (c.n == 3) {
            EXPECT_EQ(log[1], "1011, 1101");
        }
        if (c.found == 0) {
            EXPECT_STREQ(text_slot(SLOT_RESULT), "");
        }
    }
}

const Lines DEGREE5 = {
    "100101, 101111", "100101, 110111", "100101, 111011", "100101, 111101",
    "101001, 101111", "101001, 110111", "101001, 111011", "101001, 111101",
    "101111, 110111", "101111, 111011", "110111, 111101", "111011, 111101",
};

TEST(PreferredPairs, Degree5LinesInOrderAndCount) {
    struct Case {
        const char* count;
        std::size_t found;
    };
    const Case cases[] = {{"0", 12}, {"5", 5}, {"12", 12}, {"100", 12}, {"-1", 12}, {"1", 1}};
    for (const auto& c : cases) {
        Pairs p;
        p.search_degree(5);
        const Lines log = p.pairs(c.count);
        Lines expected = {"Seaching for Preferred pair Tapwell. n=5, No. of polynominal=6"};
        expected.insert(expected.end(), DEGREE5.begin(), DEGREE5.begin() + static_cast<long>(c.found));
        expected.push_back("Completed. found = " + std::to_string(c.found));
        EXPECT_EQ(log, expected) << c.count;
        std::string result;
        for (std::size_t k = 0; k < c.found; ++k) result += DEGREE5[k] + "\r\n";
        EXPECT_EQ(text_slot(SLOT_RESULT), result);
    }
}

TEST(PreferredPairs, Degree7Cap) {
    Pairs p;
    p.search_degree(7);
    const int repaints_before = p.front.repaints;
    const std::size_t shown_before = p.front.shown.size();
    const Lines log = p.pairs("0");
    ASSERT_EQ(log.size(), 92u);
    std::string result;
    for (int k = 0; k < 30; ++k) result += log[1 + k] + "\r\n";
    EXPECT_EQ(text_slot(SLOT_RESULT), result);
    EXPECT_EQ(p.front.shown.size() - shown_before, 30u);
    EXPECT_EQ(p.front.repaints - repaints_before, 3);  // begin, note, end
}

TEST(PreferredPairs, RunsTwiceOnTheSameList) {
    Pairs p;
    p.search_degree(5);
    const Lines first = p.pairs("0");
    const Lines second = p.pairs("0");
    EXPECT_EQ(first, second);
    EXPECT_EQ(pairs_checked.load(), 15u);
}

TEST(PreferredPairs, ParameterErrors) {
    {
        Pairs p;  // before any search
        EXPECT_EQ(p.pairs("0"), Lines{});
        EXPECT_EQ(status_text(), "Invalid parameter\n");
    }
    {
        Pairs p;  // a search that found one polynomial
        set_text_slot(SLOT_SEARCH_FROM, "10011");
        set_text_slot(SLOT_FIND_COUNT, "1");
        p.run(search_primitive, RUN_PRIMITIVE_SEARCH);
        EXPECT_EQ(p.pairs("0"), Lines{});
        EXPECT_EQ(status_text(), "Invalid parameter\n");
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
    }
    {
        Pairs p;  // a list of three: three pairs
        FoundList[0] = 0b10010;  // 100101
        FoundList[1] = 0b10100;  // 101001
        FoundList[2] = 0b10111;  // 101111
        found_list_count = 3;
        const Lines log = p.pairs("0");
        EXPECT_EQ(pairs_total.load(), 3.0f);
        EXPECT_EQ(log, (Lines{"Seaching for Preferred pair Tapwell. n=5, No. of polynominal=3",
                              "100101, 101111", "101001, 101111", "Completed. found = 2"}));
    }
}

TEST(PreferredPairs, TValues) {
    EXPECT_EQ(preferred_t(3), 5);
    EXPECT_EQ(preferred_t(4), 9);
    EXPECT_EQ(preferred_t(5), 9);
    EXPECT_EQ(preferred_t(6), 17);
    EXPECT_EQ(preferred_t(7), 17);
    EXPECT_EQ(preferred_t(32), 131073);
}

std::vector<std::uint32_t> primitives_from(int n, std::uint32_t offset, std::size_t count) {
    std::vector<std::uint32_t> list;
    for (std::uint32_t g = (1u << (n - 1)) + offset; g < (2u << (n - 1)) && list.size() < count; ++g) {
        if (reference::is_primitive(g, n)) list.push_back(g);
    }
    return list;
}

using PairTest = std::function<bool(std::uint32_t, std::uint32_t, int)>;

Lines stepping_pairs_log(const std::vector<std::uint32_t>& list, int n, std::uint32_t limit,
                         const PairTest& preferred = reference::preferred) {
    Lines log{"Seaching for Preferred pair Tapwell. n=" + std::to_string(n) +
              ", No. of polynominal=" + std::to_string(list.size())};
    std::uint32_t found = 0;
    for (std::size_t i = 0; i + 1 < list.size() && found < limit; ++i) {
        for (std::size_t j = i + 1; j < list.size() && found < limit; ++j) {
            if (!preferred(list[i], list[j], n)) continue;
            log.push_back(poly_text(list[i]) + ", " + poly_text(list[j]));
            ++found;
        }
    }
    log.push_back("Completed. found = " + std::to_string(found));
    return log;
}

TEST(PreferredPairs, LogsWhatSteppingLogs) {
    struct Case {
        std::vector<std::uint32_t> list;
        int n;
        const char* count;
        std::uint32_t limit;
    };
    std::vector<Case> cases;
    for (int n = 3; n <= 9; ++n) cases.push_back({primitives_from(n, 0, 1000), n, "0", (1u << n) - 1});
    cases.push_back({primitives_from(7, 0, 1000), 7, "5", 5});
    cases.push_back({primitives_from(10, 0x101, 14), 10, "0", 1023});
    // Entries that are not primitive (x^7 + 1, an even weight, one of degree 6)
    // among primitive ones: those pairs are stepped, the rest looked up.
    std::vector<std::uint32_t> mixed = primitives_from(7, 0, 8);
    mixed.insert(mixed.begin() + 2, 0x40);
    mixed.insert(mixed.begin() + 5, 0x47);
    mixed.push_back(0b100001);
    cases.push_back({mixed, 7, "0", 127});
    for (const Case& c : cases) {
        testing::JobFixture f;
        for (std::size_t k = 0; k < c.list.size(); ++k) FoundList[k] = c.list[k];
        found_list_count = static_cast<std::uint32_t>(c.list.size());
        set_text_slot(SLOT_FIND_COUNT, c.count);
        f.run(search_preferred_pairs, RUN_PAIR_SEARCH);
        const Lines expected = stepping_pairs_log(c.list, c.n, c.limit);
        EXPECT_EQ(f.log_lines(), expected) << c.n << " " << c.list.size();
        EXPECT_EQ(found_count.load(), expected.size() - 2);
    }
}

// Enough pairs for the look-ups to come in several blocks, the first of them
// looked up before most cosets were decided, and an entry whose pairs are
// stepped in each; the reference decides each pair by all its phases (one
// transform a pair: stepping them would take minutes).
TEST(PreferredPairs, LogsWhatAllPhasesSayAcrossBlocksOfRows) {
    constexpr int N = 13;
    // x^13 + 1 among them: its pairs are stepped, in every block.
    std::vector<std::uint32_t> list = primitives_from(N, 0, 199);
    list.insert(list.begin() + 150, 1u << (N - 1));
    ASSERT_EQ(list.size(), 200u);  // 19 900 pairs
    std::set<std::pair<std::uint32_t, std::uint32_t>> preferred;
    const auto by_all_phases = [&](std::uint32_t a, std::uint32_t b, int n) {
        WorkerPool alone(1);
        const std::uint32_t top = 1u << (n - 1);
        const bool yes = preferred_spectrum(alone, n, taps_of(a, top), taps_of(b, top)) == SpectrumEnd::complete;
        if (yes) preferred.insert({a, b});
        return yes;
    };
    const Lines all = stepping_pairs_log(list, N, 8191, by_all_phases);
    const auto known = [&](std::uint32_t a, std::uint32_t b, int) { return preferred.count({a, b}) != 0; };
    ASSERT_GT(all.size(), 2u + 100u);
    // Every pair, and a count that ends the search in a later block.
    for (std::uint32_t limit : {0u, static_cast<std::uint32_t>(all.size() - 2) - 7u}) {
        testing::JobFixture f;
        std::copy(list.begin(), list.end(), FoundList.begin());
        found_list_count = static_cast<std::uint32_t>(list.size());
        set_text_slot(SLOT_FIND_COUNT, std::to_string(limit).c_str());
        f.run(search_preferred_pairs, RUN_PAIR_SEARCH);
        const Lines expected = limit == 0 ? all : stepping_pairs_log(list, N, limit, known);
        EXPECT_EQ(f.log_lines(), expected) << limit;
    }
}

}  // namespace
}  // namespace tapwell

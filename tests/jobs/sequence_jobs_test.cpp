// Ring: tests. The correlation, preferred-pair and serial generation jobs, now
// driven by the fast kernels, log exactly what the stepping methods log.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/reference/order_walk.h"
#include "core/poly_text.h"
#include "core/primitivity.h"
#include "jobs/cross_correlation.h"
#include "jobs/preferred_pairs.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "tests/reference/stepping.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

using Lines = std::vector<std::string>;

std::string poly_text(std::uint32_t g) { return std::string(format_binary(g).view()) + "1"; }

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

TEST(FastJobs, CorrelationLogsWhatSteppingLogs) {
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
TEST(FastJobs, CorrelationTotalBeyond32BitsIsExact) {
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

std::vector<std::uint32_t> primitives_from(int n, std::uint32_t offset, std::size_t count) {
    std::vector<std::uint32_t> list;
    for (std::uint32_t g = (1u << (n - 1)) + offset; g < (2u << (n - 1)) && list.size() < count; ++g) {
        if (is_primitive(g, n)) list.push_back(g);
    }
    return list;
}

Lines stepping_pairs_log(const std::vector<std::uint32_t>& list, int n, std::uint32_t limit) {
    Lines log{"Seaching for Preferred pair Tapwell. n=" + std::to_string(n) +
              ", No. of polynominal=" + std::to_string(list.size())};
    std::uint32_t found = 0;
    for (std::size_t i = 0; i + 1 < list.size() && found < limit; ++i) {
        for (std::size_t j = i + 1; j < list.size() && found < limit; ++j) {
            if (!reference::preferred(list[i], list[j], n)) continue;
            log.push_back(poly_text(list[i]) + ", " + poly_text(list[j]));
            ++found;
        }
    }
    log.push_back("Completed. found = " + std::to_string(found));
    return log;
}

TEST(FastJobs, PairSearchLogsWhatSteppingLogs) {
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

// The serial mode formats straight into the log unless register states are
// shown; both ways give the same numbers.
TEST(FastJobs, SerialValuesWithAndWithoutRegisterStates) {
    for (int width : {1, 3, 10}) {
        Lines plain, with_state;
        for (int show : {0, 1}) {
            testing::JobFixture f;
            set_setting(SET_GEN_MODE, 0);
            set_setting(SET_SHOW_REGISTER, show);
            set_text_slot(SLOT_WIDTH, std::to_string(width).c_str());
            set_text_slot(SLOT_OUTPUT_COUNT, "3000");
            set_text_slot(SLOT_POLY_LIST, "10000001001\n101");
            f.run(generate_sequences, RUN_GENERATE);
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

}  // namespace
}  // namespace tapwell

// Ring: tests. The primitive search job, driven by the fast test, logs what a
// candidate-by-candidate order walk logs: same finds, same order, same counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/reference/order_walk.h"
#include "core/poly_text.h"
#include "jobs/primitive_search.h"
#include "jobs/shared_state.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

using Lines = std::vector<std::string>;

std::string poly_text(std::uint32_t g) { return std::string(format_binary(g).view()) + "1"; }

// The job's log as the walk would write it: start at `from`, stop after `count` finds (0: all).
Lines walk_log(std::uint32_t from, std::uint32_t count, int n) {
    const std::uint32_t e = 1u << (n - 1);
    std::uint32_t s = from ^ e;
    if (s == 0) s = 1;
    if (count == 0) count = e - 1;
    Lines log{"n=" + std::to_string(n) + ", from=" + poly_text(e + s)};
    std::uint32_t found = 0;
    for (;; ++s) {
        if (is_primitive(e + s, n)) {
            log.push_back(poly_text(e + s));
            if (++found >= count) break;
        }
        if (s == e - 1) break;
    }
    log.push_back("Finished. found=" + std::to_string(found));
    return log;
}

TEST(PrimitiveJob, LogsWhatTheWalkLogs) {
    struct Case {
        int n;
        std::uint32_t offset;  // start offset within the degree
        std::uint32_t count;
    };
    const Case cases[] = {
        {3, 0, 0}, {5, 3, 0}, {8, 0, 0}, {8, 0x21, 5}, {11, 0, 0}, {12, 0x123, 7}, {13, 0, 0}, {14, 0x1FFF, 0}, {14, 0, 300},
    };
    for (const Case& c : cases) {
        const std::uint32_t e = 1u << (c.n - 1);
        testing::JobFixture f;
        set_text_slot(SLOT_SEARCH_FROM, poly_text(e + c.offset).c_str());
        set_text_slot(SLOT_FIND_COUNT, std::to_string(c.count).c_str());
        f.run(search_primitive, RUN_PRIMITIVE_SEARCH);
        const Lines expected = walk_log(e + c.offset, c.count, c.n);
        EXPECT_EQ(f.log_lines(), expected) << c.n << " " << c.offset << " " << c.count;
        EXPECT_EQ(found_count.load(), expected.size() - 2);
        // The last find is the candidate the search stood at when it ended by its count.
        if (c.count != 0 && expected.size() - 2 == c.count) {
            EXPECT_EQ(poly_text(current_candidate.load()), expected[expected.size() - 2]);
        }
    }
}

// Degree 21 has 84672 primitive polynomials: the list keeps the first 65000,
// the log all of them.
TEST(PrimitiveJob, FoundListKeepsTheFirst65000) {
    testing::JobFixture f;
    set_text_slot(SLOT_SEARCH_FROM, ("1" + std::string(20, '0') + "1").c_str());
    set_text_slot(SLOT_FIND_COUNT, "0");
    f.run(search_primitive, RUN_PRIMITIVE_SEARCH);
    EXPECT_EQ(found_count.load(), 84672u);
    EXPECT_EQ(found_list_count, FOUND_LIST_CAPACITY);
    const Lines log = f.log_lines();
    ASSERT_EQ(log.size(), 84672u + 2);
    EXPECT_EQ(log.back(), "Finished. found=84672");
    EXPECT_EQ(poly_text(FoundList[0]), log[1]);
    EXPECT_EQ(poly_text(FoundList[FOUND_LIST_CAPACITY - 1]), log[FOUND_LIST_CAPACITY]);
    for (std::uint32_t k = 1; k < FOUND_LIST_CAPACITY; ++k) ASSERT_LT(FoundList[k - 1], FoundList[k]);
}

}  // namespace
}  // namespace tapwell

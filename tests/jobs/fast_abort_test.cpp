// Ring: tests. A stop request ends the fast jobs within 50 ms, also inside a
// transform, a coset table or a batch of candidates. Runs under
// ThreadSanitizer; sanitizer builds get a looser bound.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/poly_text.h"
#include "core/primitivity.h"
#include "jobs/cross_correlation.h"
#include "jobs/job_frame.h"
#include "jobs/preferred_pairs.h"
#include "jobs/primitive_search.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

using Clock = std::chrono::steady_clock;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr auto STOP_BOUND = std::chrono::milliseconds(400);
#else
constexpr auto STOP_BOUND = std::chrono::milliseconds(50);
#endif

std::string lowest(int n) {
    std::string text(static_cast<std::size_t>(n) + 1, '0');
    text.front() = '1';
    text.back() = '1';
    return text;
}

template <typename Job>
Clock::duration start_wait_abort(testing::JobFixture& f, Job job, int run_state, int wait_ms) {
    testing::mark_started(run_state);
    std::thread worker([&] { job(f.front); });
    std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
    const auto t0 = Clock::now();
    EXPECT_TRUE(abort_running_job(f.front, [&] { worker.join(); }));
    return Clock::now() - t0;
}

TEST(FastAbort, PrimitiveSearchOfDegree32) {
    testing::JobFixture f;
    set_text_slot(SLOT_SEARCH_FROM, lowest(32).c_str());
    set_text_slot(SLOT_FIND_COUNT, "0");
    EXPECT_LT(start_wait_abort(f, search_primitive, RUN_PRIMITIVE_SEARCH, 60), STOP_BOUND);
    const std::string text = status_text();
    EXPECT_EQ(text.rfind("aborted at ", 0), 0u) << text;
    // The abort line's count is the number of finds logged before it.
    const auto lines = f.log_lines();
    EXPECT_EQ(text, "aborted at " + std::string(format_binary(current_candidate.load()).view()) +
                        ", found=" + std::to_string(lines.size() - 2) + "\n");
}

TEST(FastAbort, CorrelationInsideTheTransform) {
    for (int wait_ms : {5, 60}) {
        testing::JobFixture f;
        const std::string a = lowest(26);
        set_text_slot(SLOT_POLY_LIST, (a + "\n1\n" + a + "\n1").c_str());
        EXPECT_LT(start_wait_abort(f, correlate_pair, RUN_CORRELATE, wait_ms), STOP_BOUND) << wait_ms;
        EXPECT_EQ(status_text(), "aborted.\n");
    }
}

TEST(FastAbort, PairSearchWhilePreparingAndInsideACoset) {
    // Degree 24: the decimations take a walk over 2^24 coset members, then
    // every new coset a transform of 2^24 values.
    for (int wait_ms : {5, 900}) {
        testing::JobFixture f;
        found_list_count = find_primitives(0x800000u, 0x800FFFu, 24, FoundList.data());
        ASSERT_GT(found_list_count, 4u);
        set_text_slot(SLOT_FIND_COUNT, "0");
        EXPECT_LT(start_wait_abort(f, search_preferred_pairs, RUN_PAIR_SEARCH, wait_ms), STOP_BOUND) << wait_ms;
        EXPECT_EQ(status_text().rfind("aborted. found = ", 0), 0u);
    }
}

}  // namespace
}  // namespace tapwell

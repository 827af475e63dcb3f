// Ring: tests. Abort of generation, correlation and pair search from another
// thread, also inside one long phase; the percentage of Status report during a
// pair search. Runs under ThreadSanitizer.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "jobs/cross_correlation.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/preferred_pairs.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

using testing::JobFixture;
using Clock = std::chrono::steady_clock;

// x^24 + x^7 + x^2 + x + 1: one phase is 2^24 - 1 steps, far longer than 50 ms
// under any sanitizer.
const std::string DEGREE24 = "1" + std::string(16, '0') + "10000111";

// How long an abort may take here. The goal is 50 ms; a loaded shared machine
// and the sanitizers (ThreadSanitizer runs this test too, many times slower)
// get room, while a job that ignored the stop would still take seconds.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr auto STOP_BOUND = std::chrono::milliseconds(5000);
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer) || __has_feature(address_sanitizer)
constexpr auto STOP_BOUND = std::chrono::milliseconds(5000);
#else
constexpr auto STOP_BOUND = std::chrono::milliseconds(500);
#endif
#else
constexpr auto STOP_BOUND = std::chrono::milliseconds(500);
#endif

template <typename Job>
std::string start_and_abort(JobFixture& f, Job job, int run_state, Clock::duration* stop_time) {
    testing::mark_started(run_state);
    std::thread worker([&] { job(f.front); });
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    const auto t0 = Clock::now();
    const bool aborted = abort_running_job(f.front, [&] { worker.join(); });
    if (stop_time) *stop_time = Clock::now() - t0;
    EXPECT_TRUE(aborted);
    EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
    EXPECT_EQ(job_state(), JOB_NONE);
    EXPECT_TRUE(f.front.ended.empty());
    return status_text();
}

void expect_log_ends_with(JobFixture& f, const std::string& text) {
    const std::string log = f.log_text();
    ASSERT_GE(log.size(), text.size());
    EXPECT_EQ(log.substr(log.size() - text.size()), text);
    EXPECT_EQ(log.find("Completed."), std::string::npos);
}

TEST(SequenceAbort, Generation) {
    JobFixture f;
    set_setting(SET_GEN_MODE, 2);
    set_text_slot(SLOT_WIDTH, "1");
    set_text_slot(SLOT_OUTPUT_COUNT, "-1");  // 4294967295 values
    set_text_slot(SLOT_POLY_LIST, (DEGREE24 + "\n1\n" + DEGREE24 + "\n11").c_str());
    EXPECT_EQ(start_and_abort(f, generate_sequences, RUN_GENERATE, nullptr), "aborted.\n");
    expect_log_ends_with(f, "aborted.\n");

    // The next generation runs normally after the abort text.
    const std::size_t before = f.log_text().size();
    set_setting(SET_GEN_MODE, 0);
    set_text_slot(SLOT_OUTPUT_COUNT, "2");
    set_text_slot(SLOT_POLY_LIST, "10011\n1");
    f.run(generate_sequences, RUN_GENERATE);
    EXPECT_EQ(f.log_text().substr(before), "polynominal=10011, initial=1\n1\n0\nCompleted.\n");
}

TEST(SequenceAbort, CorrelationInsideOnePhase) {
    JobFixture f;
    set_text_slot(SLOT_POLY_LIST, (DEGREE24 + "\n1\n" + DEGREE24 + "\n1").c_str());
    Clock::duration took{};
    EXPECT_EQ(start_and_abort(f, correlate_pair, RUN_CORRELATE, &took), "aborted.\n");
    EXPECT_EQ(found_count.load(), 0u);  // still inside the first phase
    EXPECT_EQ(f.log_lines(), (std::vector<std::string>{"polynominal_A=" + DEGREE24,
                                                       "polynominal_B=" + DEGREE24, "aborted."}));
    EXPECT_LT(took, STOP_BOUND);

    const std::size_t before = f.log_text().size();
    set_text_slot(SLOT_POLY_LIST, "1011\n1\n1101\n1");
    f.run(correlate_pair, RUN_CORRELATE);
    EXPECT_EQ(f.log_text().substr(before).substr(0, 41), "polynominal_A=1011\npolynominal_B=1101\ndt=");
    EXPECT_EQ(status_text(), "Completed. sum|r+1| = 16\n");
}

void fill_found_list(const std::string& poly_text, std::uint32_t copies) {
    const std::uint32_t value = static_cast<std::uint32_t>(std::stoul(poly_text.substr(0, poly_text.size() - 1), nullptr, 2));
    for (std::uint32_t k = 0; k < copies; ++k) FoundList[k] = value;
    found_list_count = copies;
}

TEST(SequenceAbort, PairSearchInsideOnePhase) {
    JobFixture f;
    fill_found_list(DEGREE24, 4);
    set_text_slot(SLOT_FIND_COUNT, "0");
    Clock::duration took{};
    EXPECT_EQ(start_and_abort(f, search_preferred_pairs, RUN_PAIR_SEARCH, &took), "aborted. found = 0\n");
    expect_log_ends_with(f, "No. of polynominal=4\naborted. found = 0\n");
    EXPECT_LT(took, STOP_BOUND);

    fill_found_list("1011", 1);
    FoundList[1] = 0b110;
    found_list_count = 2;
    testing::mark_started(RUN_PAIR_SEARCH);
    search_preferred_pairs(f.front);
    EXPECT_EQ(status_text(), "Completed. found = 1\n");
}

double percent_of(const std::string& report) {
    const auto at = report.find("checked ");
    return at == std::string::npos ? -1.0 : std::stod(report.substr(at + 8));
}

TEST(SequenceAbort, PairPercentageRisesAndStartsAgain) {
    JobFixture f;
    // A first run leaves its counters at 100%.
    fill_found_list("100101", 3);
    set_text_slot(SLOT_FIND_COUNT, "0");
    testing::mark_started(RUN_PAIR_SEARCH);
    search_preferred_pairs(f.front);
    ASSERT_EQ(pairs_checked.load(), 3u);

    // The second run: many pairs of degree 16, each one phase long. Copies of
    // x^16 + 1, which is not primitive, so every pair is stepped (copies of a
    // primitive polynomial are one coset, decided at once by the table).
    fill_found_list("10000000000000001", 200);
    testing::mark_started(RUN_PAIR_SEARCH);
    std::thread worker([&] { search_preferred_pairs(f.front); });
    std::vector<double> seen;
    const auto until = Clock::now() + std::chrono::milliseconds(150);
    while (Clock::now() < until) {
        seen.push_back(percent_of(format_status_report()));
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ASSERT_TRUE(abort_running_job(f.front, [&] { worker.join(); }));

    // Only a sample taken before the job began may still show the first run.
    std::size_t k = 0;
    while (k < seen.size() && seen[k] == 100.0) ++k;
    ASSERT_LT(k, seen.size());
    EXPECT_LT(seen[k], 1.0);
    for (std::size_t i = k + 1; i < seen.size(); ++i) EXPECT_GE(seen[i], seen[i - 1]) << i;
    EXPECT_GT(seen.back(), 0.0);
    EXPECT_LT(seen.back(), 100.0);
}

}  // namespace
}  // namespace tapwell

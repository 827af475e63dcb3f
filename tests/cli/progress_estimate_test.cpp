// Ring: tests. The progress line's share and time left: the texts at their
// edges, and the estimate against the true time left for jobs whose pace is
// steady, jittery, or changes half way.
#include "cli/progress_estimate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace tapwell::cli {
namespace {

TEST(ProgressEstimate, ShareIsRoundedDownSoThatOnlyAllDoneReadsAsAHundred) {
    const std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    struct Case {
        std::uint64_t done, total;
        const char* text;
    } cases[] = {
        {0, 0, ""},          // nothing to measure
        {5, 0, ""},
        {0, 10, "0.0%"},
        {3, 8, "37.5%"},
        {2, 3, "66.6%"},
        {9999, 10000, "99.9%"},
        {10000, 10000, "100.0%"},
        {12, 10, "100.0%"},  // a counter that overshoots its total
        {0xFFFFFFFEull, 0xFFFFFFFFull, "99.9%"},
        {max - 1, max, "99.9%"},  // the division in doubles rounds this up to 1
    };
    for (const Case& c : cases) EXPECT_EQ(share_text(c.done, c.total), c.text) << c.done << "/" << c.total;
}

TEST(ProgressEstimate, TimeLeftInSensibleUnits) {
    struct Case {
        double seconds;
        const char* text;
    } cases[] = {
        {0.0, "about 1 s left"},  {0.4, "about 1 s left"},         {12.4, "about 12 s left"},
        {59.4, "about 59 s left"}, {59.6, "about 1 min left"},      {150.0, "about 3 min left"},
        {3569.0, "about 59 min left"}, {3599.0, "about 1 h left"},  {3900.0, "about 1 h 5 min left"},
        {35999.0, "about 10 h left"}, {50000.0, "about 14 h left"}, {1e300, "about 1000000000 h left"},
    };
    for (const Case& c : cases) EXPECT_EQ(time_left_text(c.seconds), c.text) << c.seconds;
}

TEST(ProgressEstimate, NothingIsEstimatedUntilThereIsEnoughToGoOn) {
    struct Case {
        std::uint64_t done, total;
        double elapsed;
        const char* text;
    } cases[] = {
        {3, 8, 1.9, "37.5%"},               // too early
        {0, 8, 30.0, "0.0%"},               // nothing done yet
        {1, 100000, 30.0, "0.0%"},          // too little done
        {8, 8, 30.0, "100.0%"},             // done: nothing left to estimate
        {0, 0, 30.0, ""},                   // no total
        {3, 8, 3.0, "37.5%, about 5 s left"},
        {1, 1000, 2.0, "0.1%, about 33 min left"},
    };
    for (const Case& c : cases) {
        ProgressEstimate estimate;
        EXPECT_EQ(progress_suffix(estimate, c.done, c.total, c.elapsed), c.text)
            << c.done << "/" << c.total << " after " << c.elapsed << " s";
    }
}

// A job of `seconds` run with pace(t) work per second, looked at every quarter
// second as the progress line is; returns the estimates, the true time left for each,
// and the times they were formed.
struct SimulatedRun {
    std::vector<double> times, estimates, truths;
};

SimulatedRun simulate(double seconds, const std::function<double(double)>& pace) {
    const double tick = 0.25;
    const int ticks = static_cast<int>(seconds / tick);
    std::vector<double> done_at(ticks + 1, 0.0);
    for (int i = 0; i < ticks; ++i) done_at[i + 1] = done_at[i] + pace(i * tick) * tick;
    const auto total = static_cast<std::uint64_t>(done_at[ticks]);
    SimulatedRun run;
    ProgressEstimate estimate;
    for (int i = 1; i < ticks; ++i) {
        const double t = i * tick;
        const double left = update_seconds_left(estimate, static_cast<std::uint64_t>(done_at[i]), total, t);
        if (left < 0.0) continue;
        run.times.push_back(t);
        run.estimates.push_back(left);
        run.truths.push_back(seconds - t);
    }
    return run;
}

// The largest rise of the estimate from one line to the next, in seconds: a
// steady estimate only counts down.
double largest_rise(const SimulatedRun& run) {
    double rise = -1e9;
    for (std::size_t i = 1; i < run.estimates.size(); ++i) {
        rise = std::fmax(rise, run.estimates[i] - run.estimates[i - 1]);
    }
    return rise;
}

TEST(ProgressEstimate, SteadyPaceGivesTheTrueTimeLeftAndOnlyCountsDown) {
    SimulatedRun run = simulate(100.0, [](double) { return 1e6; });
    ASSERT_FALSE(run.estimates.empty());
    EXPECT_DOUBLE_EQ(run.times.front(), ESTIMATE_MIN_SECONDS);
    for (std::size_t i = 0; i < run.estimates.size(); ++i) {
        EXPECT_NEAR(run.estimates[i], run.truths[i], 0.01) << "at " << run.times[i] << " s";
    }
    EXPECT_LT(largest_rise(run), 0.0);
}

TEST(ProgressEstimate, BurstsAndStallsDoNotMakeTheEstimateJumpAbout) {
    // Work arrives in bursts: every other line sees none (a slow block, a
    // batch of finds written at once), or every fourth second stands still.
    const std::function<double(double)> paces[] = {
        [](double t) { return static_cast<int>(t * 4) % 2 ? 2e6 : 0.0; },
        [](double t) { return static_cast<int>(t) % 4 == 0 ? 0.0 : 1.33e6; },
    };
    for (const auto& pace : paces) {
        SimulatedRun run = simulate(100.0, pace);
        EXPECT_LT(largest_rise(run), 0.25);
        // A job that starts with a stall is first thought slow; the estimate
        // has come right well before its end.
        for (std::size_t i = 0; i < run.estimates.size(); ++i) {
            if (run.times[i] < 30.0) continue;
            EXPECT_NEAR(run.estimates[i], run.truths[i], 0.1 * run.truths[i] + 1.0) << "at " << run.times[i] << " s";
        }
    }
}

TEST(ProgressEstimate, FollowsAChangeOfPaceWithinSeconds) {
    // The job slows to half its pace after 40 of its 100 seconds. An average
    // over the whole run would still say about 14 s at 75 s; the smoothed
    // pace has caught up by then.
    SimulatedRun run = simulate(100.0, [](double t) { return t < 40.0 ? 1e6 : 5e5; });
    for (std::size_t i = 0; i < run.estimates.size(); ++i) {
        if (run.times[i] < 75.0) continue;
        EXPECT_NEAR(run.estimates[i], run.truths[i], 0.1 * run.truths[i] + 1.0) << "at " << run.times[i] << " s";
    }
    EXPECT_LT(largest_rise(run), 0.25);  // rises only slowly
}

TEST(ProgressEstimate, AStalledJobIsEstimatedLongWithoutDividingByZero) {
    ProgressEstimate estimate;
    ASSERT_GE(update_seconds_left(estimate, 500, 1000, 10.0), 0.0);
    double left = 0.0;
    for (double t = 10.25; t < 4000.0; t += 0.25) left = update_seconds_left(estimate, 500, 1000, t);
    EXPECT_TRUE(std::isfinite(left));
    EXPECT_GT(left, 3600.0);
}

}  // namespace
}  // namespace tapwell::cli

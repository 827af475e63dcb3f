// Ring: cli. What the progress line adds to a job's own counters: how far the
// job has come and, once there is enough to go on, how long it still needs
// ("37.5%, about 12 s left"). Pure: the caller reads the counters and the
// clock; nothing here touches either.
#pragma once

#include <cstdint>
#include <string>

namespace tapwell::cli {

// What the estimate carries from one progress line to the next; a fresh one
// for each job run.
struct ProgressEstimate {
    double pace = -1.0;          // work per second, smoothed; negative: nothing estimated yet
    double seconds_left = -1.0;  // the estimate as last shown
    double formed_at = 0.0;      // the elapsed time at which both were formed
    std::uint64_t done_at = 0;   // the work done then
};

// Seconds of running, and the share of the work, before a time left is shown:
// earlier figures are dominated by start-up and say nothing.
constexpr double ESTIMATE_MIN_SECONDS = 2.0;
constexpr double ESTIMATE_MIN_SHARE = 0.001;
// How quickly the estimate follows a changed pace: after ESTIMATE_PACE_SECONDS
// a change of pace has two thirds of its effect, so a short burst or stall
// moves it little; the time left shown then follows the time left so measured
// as slowly again over ESTIMATE_SMOOTHING_SECONDS, so it counts down steadily
// instead of wobbling with each line.
constexpr double ESTIMATE_PACE_SECONDS = 10.0;
constexpr double ESTIMATE_SMOOTHING_SECONDS = 5.0;

// The text for done of total units of work after elapsed_seconds:
// "37.5%, about 12 s left", or only "37.5%" while there is not enough to
// estimate from or once all is done; empty when total is 0 (nothing to measure).
std::string progress_suffix(ProgressEstimate& estimate, std::uint64_t done, std::uint64_t total,
                            double elapsed_seconds);

// The share done with one decimal, rounded down so that "100.0%" means all done.
std::string share_text(std::uint64_t done, std::uint64_t total);

// Updates and returns the estimate of the seconds left; negative while there
// is not enough to estimate from.
double update_seconds_left(ProgressEstimate& estimate, std::uint64_t done, std::uint64_t total,
                           double elapsed_seconds);

// "about 12 s left", "about 3 min left", "about 1 h 5 min left", "about 14 h left".
std::string time_left_text(double seconds);

}  // namespace tapwell::cli

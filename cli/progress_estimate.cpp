// Ring: cli. See progress_estimate.h.
#include "cli/progress_estimate.h"

#include <cmath>
#include <cstdio>

namespace tapwell::cli {

std::string share_text(std::uint64_t done, std::uint64_t total) {
    if (total == 0) return {};
    if (done > total) done = total;
    auto tenths = static_cast<std::uint64_t>(std::floor(1000.0 * static_cast<double>(done) / static_cast<double>(total)));
    // Near the end of a huge total the division in doubles can round up to all.
    if (done < total && tenths > 999) tenths = 999;
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u%%", static_cast<unsigned>(tenths / 10), static_cast<unsigned>(tenths % 10));
    return text;
}

namespace {

// Moves value toward target by the share that `seconds` of a first-order lag
// of time constant tau gives: the same whatever the line's period.
double follow(double value, double target, double seconds, double tau) {
    return value + (1.0 - std::exp(-seconds / tau)) * (target - value);
}

constexpr double LONGEST_ESTIMATE = 1e9;  // seconds; a stalled job is not divided by zero

}  // namespace

double update_seconds_left(ProgressEstimate& estimate, std::uint64_t done, std::uint64_t total,
                           double elapsed_seconds) {
    if (total == 0 || done == 0 || done >= total) return estimate.seconds_left;
    const double share = static_cast<double>(done) / static_cast<double>(total);
    if (elapsed_seconds < ESTIMATE_MIN_SECONDS || share < ESTIMATE_MIN_SHARE) return estimate.seconds_left;

    const double left = static_cast<double>(total - done);
    if (estimate.pace < 0.0) {
        // The first estimate: the pace since the start.
        estimate.pace = static_cast<double>(done) / elapsed_seconds;
        estimate.seconds_left = std::fmin(left / estimate.pace, LONGEST_ESTIMATE);
    } else {
        const double since = elapsed_seconds - estimate.formed_at;
        if (since <= 0.0) return estimate.seconds_left;
        const double recent = done > estimate.done_at ? static_cast<double>(done - estimate.done_at) / since : 0.0;
        estimate.pace = follow(estimate.pace, recent, since, ESTIMATE_PACE_SECONDS);
        const double measured = estimate.pace > 0.0 ? std::fmin(left / estimate.pace, LONGEST_ESTIMATE)
                                                    : LONGEST_ESTIMATE;
        // The last estimate has counted down by the time since; it moves only
        // slowly toward the new measurement.
        const double aged = std::fmax(0.0, estimate.seconds_left - since);
        estimate.seconds_left = follow(aged, measured, since, ESTIMATE_SMOOTHING_SECONDS);
    }
    estimate.formed_at = elapsed_seconds;
    estimate.done_at = done;
    return estimate.seconds_left;
}

std::string time_left_text(double seconds) {
    char text[48];
    const double s = std::fmax(1.0, std::round(seconds));
    if (s < 60.0) {
        std::snprintf(text, sizeof text, "about %.0f s left", s);
        return text;
    }
    const double minutes = std::round(seconds / 60.0);
    if (minutes < 60.0) {
        std::snprintf(text, sizeof text, "about %.0f min left", minutes);
        return text;
    }
    if (minutes < 600.0) {
        const double hours = std::floor(minutes / 60.0);
        const double rest = minutes - 60.0 * hours;
        if (rest == 0.0) {
            std::snprintf(text, sizeof text, "about %.0f h left", hours);
        } else {
            std::snprintf(text, sizeof text, "about %.0f h %.0f min left", hours, rest);
        }
        return text;
    }
    std::snprintf(text, sizeof text, "about %.0f h left", std::fmin(std::round(seconds / 3600.0), 1e9));
    return text;
}

std::string progress_suffix(ProgressEstimate& estimate, std::uint64_t done, std::uint64_t total,
                            double elapsed_seconds) {
    std::string text = share_text(done, total);
    if (text.empty() || done >= total) return text;
    const double left = update_seconds_left(estimate, done, total, elapsed_seconds);
    if (left >= 0.0) text += ", " + time_left_text(left);
    return text;
}

}  // namespace tapwell::cli

// Ring: library. What the public functions share: the run's context from the
// caller's options, progress reported a few times a second, refusals thrown
// in words, a stopped run thrown as Stopped.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "library/run_context.h"
#include "tapwell/errors.hpp"
#include "tapwell/run_options.hpp"

namespace tapwell {

inline RunContext context_of(const RunOptions& options) { return {options.stop, options.threads}; }

// Throws InvalidArgument with the refusal's words unless it is empty.
inline void refuse(const std::string& refusal) {
    if (!refusal.empty()) throw InvalidArgument(refusal);
}

inline void throw_if_stopped(RunEnd end) {
    if (end == RunEnd::stopped) throw Stopped();
}

// The caller's progress callback, called at most every PERIOD unless the
// work is done.
class ProgressReport {
public:
    explicit ProgressReport(const RunOptions& options) : report_(options.progress) {}
    void operator()(std::uint64_t done, std::uint64_t total) {
        if (!report_) return;
        const auto now = std::chrono::steady_clock::now();
        if (done < total && now < next_) return;
        next_ = now + PERIOD;
        report_(Progress{done, total});
    }

private:
    static constexpr std::chrono::milliseconds PERIOD{100};
    const std::function<void(const Progress&)>& report_;
    std::chrono::steady_clock::time_point next_{};
};

}  // namespace tapwell

// tapwell: how a long call runs: its stop token, its threads and its progress.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>

namespace tapwell {

// How far a call has come, in units of its own work (candidates tested,
// phases computed, pairs decided); total is 0 while it is not known.
struct Progress {
    std::uint64_t done = 0;
    std::uint64_t total = 0;
};

struct RunOptions {
    // When stop is requested the call gives up within milliseconds and throws
    // tapwell::Stopped.
    std::stop_token stop = {};
    // Threads the call may use, the calling thread among them; 0 for every
    // core of the machine.
    int threads = 0;
    // Called on the calling thread between pieces of the work (a few times a
    // second at most for long calls, never at the same time as itself); it
    // must not call back into the same computation.
    std::function<void(const Progress&)> progress = {};
};

}  // namespace tapwell

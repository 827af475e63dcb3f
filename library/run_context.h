// Ring: library. What every computation is given beside its request: when to
// stop and how many threads it may use. A computation keeps nothing of the
// process: two of them run at once on two threads, sharing nothing but
// read-only tables.
#pragma once

#include <stop_token>

namespace tapwell {

struct RunContext {
    std::stop_token stop = {};
    int threads = 0;  // 0: all the machine's cores
};

// How a computation ended: complete, or stopped by its token or by its sink.
enum class RunEnd { complete, stopped };

}  // namespace tapwell

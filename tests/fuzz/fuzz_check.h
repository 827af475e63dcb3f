// Ring: tests. What a fuzz target does when a property fails: stop at once,
// so libFuzzer keeps the input.
#pragma once

#include <cstdlib>

namespace tapwell {

inline void fuzz_check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace tapwell

// Ring: core. The Walsh-Hadamard transform in place, over 2^bits integers:
// out[s] = sum over w of in[w] * (-1)^popcount(w AND s). Cache-blocked; a long
// transform asks `stop` between pieces of a few hundred microseconds and gives
// up (returning false, the data half transformed) when it says so.
#pragma once

#include <cstdint>

namespace tapwell {

// Asked at bounded intervals inside long computations; nullptr never stops.
using StopCheck = bool (*)();

bool walsh_hadamard(std::int32_t* data, int bits, StopCheck stop = nullptr);
bool walsh_hadamard(std::int64_t* data, int bits, StopCheck stop = nullptr);

}  // namespace tapwell

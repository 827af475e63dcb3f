// Ring: core. The Walsh-Hadamard transform in place, over 2^bits integers:
// out[s] = sum over w of in[w] * (-1)^popcount(w AND s). Cache-blocked.
//
// The transform is a few phases of independent pieces of a few hundred
// microseconds each: the pieces of one phase touch disjoint values, so they may
// run in any order or at the same time on several threads; the phases run one
// after another. walsh_hadamard runs them all on the caller's thread and asks
// `stop` between pieces, giving up (returning false, the data half
// transformed) when it says so.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/stop_check.h"

namespace tapwell {

bool walsh_hadamard(std::int32_t* data, int bits, StopCheck stop = nullptr);
bool walsh_hadamard(std::int64_t* data, int bits, StopCheck stop = nullptr);

int walsh_phase_count(int bits);
std::size_t walsh_piece_count(int bits, int phase);
void walsh_piece(std::int32_t* data, int bits, int phase, std::size_t piece);
void walsh_piece(std::int64_t* data, int bits, int phase, std::size_t piece);

}  // namespace tapwell

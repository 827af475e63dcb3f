// tapwell: the periodic cross-correlation of two M-sequences over all phases,
// exactly as the window computes it.
//
// Register A starts from state 1 and register B from state dt + 1, for every
// phase dt = 0 .. 2^n - 2; r is the number of steps, over one period, whose
// output bits agree minus the number where they differ (the periodic
// correlation of the +1/-1 sequences). Every phase at once by a fast
// transform; a degree-24 pair takes a fraction of a second.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "tapwell/export.hpp"
#include "tapwell/polynomial.hpp"
#include "tapwell/preferred_values.hpp"
#include "tapwell/run_options.hpp"

namespace tapwell {

// r for every phase into r[dt]; r.size() must be 2^n - 1. Degrees 3 to 32,
// both of one degree; the 32-bit form to degree 31. Throws InvalidArgument
// otherwise.
TAPWELL_API void correlate_all_phases(Polynomial a, Polynomial b, std::span<std::int64_t> r,
                                      const RunOptions& options = {});
TAPWELL_API void correlate_all_phases(Polynomial a, Polynomial b, std::span<std::int32_t> r,
                                      const RunOptions& options = {});
TAPWELL_API std::vector<std::int64_t> correlate_all_phases(Polynomial a, Polynomial b,
                                                           const RunOptions& options = {});

}  // namespace tapwell

// Ring: jobs. The preferred pair search: every pair of the last primitive
// search's finds, kept when its cross-correlation takes only -1, -t and t - 2.
#pragma once

#include <cstdint>

#include "jobs/front_end.h"

namespace tapwell {

// t(n): 2^((n+1)/2) + 1 for odd n, 2^(n/2+1) + 1 for even n.
std::int64_t preferred_t(int n);

// The job: reads FoundList and SLOT_FIND_COUNT, keeps pairs_checked and
// pairs_total for Status report. Returns 0.
int search_preferred_pairs(FrontEnd& front_end);

}  // namespace tapwell

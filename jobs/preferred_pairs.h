// Ring: jobs. The preferred pair search: every pair of the last primitive
// search's finds, kept when its cross-correlation takes only -1, -t and t - 2.
#pragma once

#include <cstdint>

#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell {

// The job: reads FoundList and SLOT_FIND_COUNT, keeps pairs_checked and
// pairs_total for Status report.
JobOutcome search_preferred_pairs(FrontEnd& front_end);

}  // namespace tapwell

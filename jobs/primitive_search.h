// Ring: jobs. The primitive polynomial search: every candidate of one degree
// from a start polynomial upwards, until a count of finds is reached.
#pragma once

#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell {

// Reads SLOT_SEARCH_FROM and SLOT_FIND_COUNT; writes FoundList and the
// counters found_count and current_candidate.
JobOutcome search_primitive(FrontEnd& front_end);

}  // namespace tapwell

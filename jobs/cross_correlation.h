// Ring: jobs. The correlation job: registers 0 and 1 of the list, every
// phase's value (library/correlation.h) as a line, the sum of |r + 1| at the
// end.
#pragma once

#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell {

// Reads SLOT_POLY_LIST; found_count counts the phases done.
JobOutcome correlate_pair(FrontEnd& front_end);

}  // namespace tapwell

// Ring: jobs. The correlation job: registers 0 and 1 of the list, every
// phase's value (library/correlation.h) as a line, the sum of |r + 1| at the
// end.
#pragma once

#include <string_view>

#include "core/shift_register.h"
#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell {

// Registers 0 and 1 of a list text as the window reads it
// (core/shift_register.h parse_register_list).
struct CorrelationInput {
    RegisterBank bank;
};
CorrelationInput read_correlation_input(std::string_view list);

// The job for an input; found_count counts the phases done.
JobOutcome run_correlation(FrontEnd& front_end, const CorrelationInput& input);

// The window's job: the input from SLOT_POLY_LIST.
JobOutcome correlate_pair(FrontEnd& front_end);

}  // namespace tapwell

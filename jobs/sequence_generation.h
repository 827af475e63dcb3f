// Ring: jobs. Sequence generation: words from a bank of registers in three
// modes (serial words of one register, one register per bit, Gold), every
// value logged, the first 71 shown.
#pragma once

#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell {

// Reads SLOT_WIDTH, SLOT_OUTPUT_COUNT, SLOT_POLY_LIST and the mode and
// register-display settings; counts its values in generated_count (and, in the
// Gold mode, in found_count).
JobOutcome generate_sequences(FrontEnd& front_end);

}  // namespace tapwell

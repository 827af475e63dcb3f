// Ring: jobs. Periodic cross-correlation of the sequences of registers 0 and 1
// over all phases, and the one-phase measure that the pair search shares.
#pragma once

#include <cstdint>
#include <optional>

#include "core/shift_register.h"
#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell {

// Register 0 from state 1, register 1 from start_state, both stepped
// 2 * top(0) - 1 times: +1 for each step whose output bits agree, -1 for each
// that differs. At degree 32 r reaches 2^32 - 1, hence 64 bits. Polls the stop
// flag between slices of steps and after the phase; nothing when a stop is
// pending (the caller then returns at once).
std::optional<std::int64_t> phase_correlation(RegisterBank& bank, std::uint32_t start_state);

// The job: registers 0 and 1 from SLOT_POLY_LIST, one line per phase, the sum of
// |r + 1| at the end. found_count counts the phases done.
JobOutcome correlate_pair(FrontEnd& front_end);

}  // namespace tapwell

// Ring: jobs. Sequence generation: words from the register bank in three
// modes (serial words of one register, one register per bit, Gold), every value
// logged, the first 71 shown.
#pragma once

#include <atomic>
#include <cstdint>

#include "jobs/front_end.h"

namespace tapwell {

// Values the running generation has produced, for a console progress display.
// The serial and parallel modes keep their index to themselves otherwise.
extern std::atomic<std::uint32_t> generated_count;

enum class GenerateOutcome { completed, rejected, stopped };

// The job: reads SLOT_WIDTH, SLOT_OUTPUT_COUNT, SLOT_POLY_LIST and the mode and
// register-display settings, then runs one of the modes below. Returns 0.
int generate_sequences(FrontEnd& front_end);

// The modes, once the width is 1..32, register 0 is usable and the bank's
// output_count is set. Each checks its own conditions first.
GenerateOutcome generate_serial(FrontEnd& front_end);
GenerateOutcome generate_parallel(FrontEnd& front_end);
GenerateOutcome generate_gold(FrontEnd& front_end);

}  // namespace tapwell

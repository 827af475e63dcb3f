// Ring: jobs. Sequence generation: words from a bank of registers in three
// modes (serial words of one register, one register per bit, Gold), every
// value logged, the first 71 shown.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/shift_register.h"
#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell {

// What was typed and chosen, read as the window reads it: "Width" and
// "Number of output" as leading integers (the count unsigned; 0 for a
// period), the register list (core/shift_register.h parse_register_list),
// the mode setting as stored (GenerationMode's values; another one writes
// nothing) and the register display.
struct GenerationInput {
    RegisterBank bank;  // with output_width and output_count
    std::int32_t mode = 0;
    bool show_register = false;
};
GenerationInput read_generation_input(const char* width, const char* count, std::string_view list, std::int32_t mode,
                                      bool show_register);

// The job for an input: counts its values in generated_count (and, in the
// Gold mode, in found_count).
JobOutcome run_generation(FrontEnd& front_end, const GenerationInput& input);

// The window's job: the input from SLOT_WIDTH, SLOT_OUTPUT_COUNT,
// SLOT_POLY_LIST and the mode and register-display settings.
JobOutcome generate_sequences(FrontEnd& front_end);

}  // namespace tapwell

// Ring: core. The registers of the standards beyond the window's test
// patterns and GPS codes: scramblers, randomizers and ranging codes, each as
// its standard draws it (numbered stages, the stages that feed back or the
// terms of a Galois register, the seed loaded into the stages) and turned
// here, and only here, into core's register records (core/presets.h). Data,
// built on demand; no I/O.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/presets.h"

namespace tapwell {

// Every standard's preset with its parameter (if any) at its default.
std::vector<PresetRecord> standard_preset_records();

// The preset of that name with its parameter set to `value`. Empty refusal
// and the record in `out` when it accepts; otherwise the refusal's words
// (no such preset among these, no parameter, a value out of its range).
std::string standard_preset_with(std::string_view name, std::uint64_t value, PresetRecord& out);

}  // namespace tapwell

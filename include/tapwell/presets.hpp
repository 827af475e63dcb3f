// tapwell: registers from the standards, as the window's generation takes
// them: the ITU-T O.150 test patterns (and PRBS7) in the serial mode, the
// GPS L1 C/A codes PRN 1 to 32 (IS-GPS-200) in the Gold mode.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tapwell/export.hpp"
#include "tapwell/sequences.hpp"

namespace tapwell {

struct Preset {
    std::string name;               // "prbs7", "gps-ca-1", ...
    std::string source;             // the standard and what it says of the register
    GenerationMode mode;            // serial or Gold
    std::vector<Register> registers;  // 1 (serial) or 2 (Gold)
    bool inverted;                  // the standard inverts the register's output
    int longest_zero_run;           // as the standard states it; 0 if it does not
};

// Every preset, PRBS first, then gps-ca-1 to gps-ca-32.
TAPWELL_API std::span<const Preset> presets();
// The preset of that name; throws InvalidArgument naming it otherwise.
TAPWELL_API const Preset& preset(std::string_view name);

}  // namespace tapwell

// tapwell: registers from the standards, as the window's generation takes
// them: the ITU-T O.150 test patterns (and PRBS7) in the serial mode, the
// GPS L1 C/A codes PRN 1 to 32 (IS-GPS-200) in the Gold mode; and the
// scramblers, randomizers and ranging codes of other standards, in the form
// their standard draws (Fibonacci or Galois), each register's state already
// turned from the standard's numbered stages into this library's convention
// (tapwell/sequences.hpp): its output from chip 0 is the standard's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tapwell/export.hpp"
#include "tapwell/sequences.hpp"

namespace tapwell {

// What the standard does with the register's output.
enum class PresetKind : int {
    sequence = 0,        // sends it (test patterns, ranging codes)
    additive = 1,        // adds it to the data (synchronous scrambler)
    multiplicative = 2,  // self-synchronous scrambler: the register holds the last
                         // n bits sent, bit 0 the oldest (tapwell/scrambling.hpp)
};

// Where a standard's register comes from and what it takes.
struct PresetOrigin {
    std::string standard = {};      // the document ("IEEE 802.11-2020")
    std::string section = {};       // where in it the register is drawn
    std::string written = {};       // its polynomial as the standard writes it
    PresetKind kind = PresetKind::sequence;
    std::uint64_t code_length = 0;  // chips of the code when the standard cuts the period short
    // The preset's parameter ("seed", "c-init", "channel"; empty for none),
    // its range and the value these registers are built for.
    std::string parameter = {};
    std::uint64_t parameter_low = 0, parameter_high = 0, parameter_value = 0;
};

struct Preset {
    std::string name;               // "prbs7", "gps-ca-1", ...
    std::string source;             // the standard and what it says of the register
    GenerationMode mode;            // serial or Gold
    std::vector<Register> registers;  // 1 (serial) or 2 (Gold)
    bool inverted;                  // the standard inverts the register's output
    int longest_zero_run;           // as the standard states it; 0 if it does not
    // The standards beyond the PRBS and GPS ones fill this in.
    PresetOrigin origin = {};
};

// Every preset, PRBS first, then gps-ca-1 to gps-ca-32, then the other
// standards' registers with their parameters at their defaults.
TAPWELL_API std::span<const Preset> presets();
// The preset of that name; throws InvalidArgument naming it otherwise.
TAPWELL_API const Preset& preset(std::string_view name);
// The preset with its parameter set to `value`. Throws InvalidArgument, in
// words, for an unknown name, a preset without a parameter, or a value
// outside origin.parameter_low .. origin.parameter_high.
TAPWELL_API Preset preset(std::string_view name, std::uint64_t value);

// The first `count` bits the preset's standard puts out, one byte (0 or 1)
// a bit: the sum of its registers' outputs (inverted where it says so); for a
// self-synchronous scrambler, what it sends for data of zeros.
TAPWELL_API std::vector<std::uint8_t> preset_bits(const Preset& preset, std::size_t count);

}  // namespace tapwell

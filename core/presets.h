// Ring: core. Registers from the standards, as the window's list text: the
// ITU-T O.150 pseudo-random test patterns (and the common PRBS7) in the
// serial mode, and the GPS L1 C/A codes PRN 1 to 32 (IS-GPS-200) in the Gold
// mode. The standards' registers are given as the stages that feed back; the
// window's polynomial is the characteristic polynomial of the output, the
// reciprocal of that connection polynomial. Data, built once; no I/O.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/poly_word.h"
#include "tapwell/presets.hpp"

namespace tapwell {

enum class PresetMode { serial, gold };

struct PresetRecord {
    std::string name;
    PresetMode mode;
    std::string source;          // the standard and what it says of the register
    bool inverted;               // the standard inverts the register's output
    int longest_zero_run;        // as the standard states it for its signal; 0 if it does not
    PolyWord a;                // the window's polynomial (serial: the register)
    std::uint64_t initial_a;     // the window's register state: bit 0 is output first
    PolyWord b;                // Gold mode only
    std::uint64_t initial_b;
    // The standards' registers beyond the window's (core/standard_presets.h);
    // empty or as given here for the PRBS and GPS ones above.
    PresetOrigin origin = {};
    RegisterForm form = RegisterForm::fibonacci;  // of both registers
};

// Every preset, PRBS first, then gps-ca-1 to gps-ca-32, then the standards'
// registers of core/standard_presets.h with their parameters' defaults.
const std::vector<PresetRecord>& preset_records();
const PresetRecord* preset_named(std::string_view name);

// The window's polynomial of a register of n stages whose stages `stages`
// (numbered 1..n from the input; n is the output) feed back into stage 1.
PolyWord polynomial_of_stages(int n, std::initializer_list<int> stages);

// The list text to type into "Polynominal and Initial value": a polynomial
// line and an initial-value line (n digits) per register, joined by line_end.
std::string preset_list_text(const PresetRecord& preset, std::string_view line_end);

// The register state of n bits as the window's initial-value line.
std::string initial_value_text(std::uint64_t state, int n);

}  // namespace tapwell

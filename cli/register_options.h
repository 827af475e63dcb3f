// Ring: cli. The one reading of a register from the command line, for
// sequence and scramble: --poly (twice for a Gold code) with --state,
// --notation and --form, or --preset NAME with --seed, --c-init or --channel.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/notation.h"
#include "tapwell/presets.hpp"
#include "tapwell/streams.hpp"

namespace CLI {
class App;
class Option;
}

namespace tapwell::cli {

// --seed, --c-init, --channel: at most one of them applies to a preset.
struct PresetParameters {
    std::optional<std::uint64_t> seed, c_init, channel;
};

struct RegisterOptions {
    std::vector<std::string> polys, states;
    std::optional<Notation> notation;
    std::string form = "fibonacci";
    std::string preset;
    PresetParameters parameters;
};

// Adds --seed, --c-init and --channel.
void add_preset_parameters(CLI::App& command, PresetParameters& parameters, CLI::Option* needs);

// The preset of that name with the parameter given, if any. False after a
// message: an unknown name or a parameter the preset does not take (status
// 2), a value out of its range (status 1).
bool read_preset(const std::string& name, const PresetParameters& given, Preset& out, int& status);

void add_register_options(CLI::App& command, RegisterOptions& options);

struct ChosenRegisters {
    BitSource source;
    std::optional<Preset> preset;  // when --preset named one
};

// False after a message in words (exit status 1 for a parameter out of its
// range, 2 for what cannot be read: in `status`).
bool read_registers(const RegisterOptions& options, ChosenRegisters& out, int& status);

}  // namespace tapwell::cli

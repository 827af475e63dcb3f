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
}

namespace tapwell::cli {

struct RegisterOptions {
    std::vector<std::string> polys, states;
    std::optional<Notation> notation;
    std::string form = "fibonacci";
    std::string preset;
    std::optional<std::uint64_t> seed, c_init, channel;
};

void add_register_options(CLI::App& command, RegisterOptions& options);

struct ChosenRegisters {
    BitSource source;
    std::optional<Preset> preset;  // when --preset named one
};

// False after a message in words (exit status 1 for a parameter out of its
// range, 2 for what cannot be read: in `status`).
bool read_registers(const RegisterOptions& options, ChosenRegisters& out, int& status);

}  // namespace tapwell::cli

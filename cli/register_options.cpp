// Ring: cli. See register_options.h. A state is read as the window's
// initial value (n digits 0/1, stage n - 1 first) or, after 0x, in hex.
#include "cli/register_options.h"

#include <CLI/CLI.hpp>

#include <map>

#include "cli/job_runner.h"
#include "cli/notation_option.h"
#include "tapwell/errors.hpp"

namespace tapwell::cli {

namespace {

bool read_state(const std::string& text, int n, std::uint64_t& state) {
    std::uint64_t v = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (text.size() > 18) return false;
        for (std::size_t i = 2; i < text.size(); ++i) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
            const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (d < 0) return false;
            v = v << 4 | static_cast<std::uint64_t>(d);
        }
    } else {
        if (text.empty() || text.size() > static_cast<std::size_t>(n)) return false;
        for (char c : text) {
            if (c != '0' && c != '1') return false;
            v = v << 1 | static_cast<std::uint64_t>(c - '0');
        }
    }
    state = v;
    return true;
}

}  // namespace

void add_register_options(CLI::App& command, RegisterOptions& options) {
    CLI::Option* poly = command.add_option("--poly", options.polys,
                                           "The register's polynomial (the window's text unless --notation); twice "
                                           "for a Gold code, the sum of the two registers' outputs")
                            ->expected(1, 2)
                            ->option_text("POLY");
    command.add_option("--state", options.states,
                       "Each register's initial state: the window's initial value (stage n-1 first) or 0x hex; "
                       "default 1")
        ->expected(1, 2)
        ->option_text("STATE");
    add_notation_option(command, "--notation", options.notation, "How --poly is written (default binary)");
    command.add_option("--form", options.form, "fibonacci (default) or galois")
        ->check(CLI::IsMember({"fibonacci", "galois"}))
        ->option_text("fibonacci|galois");
    CLI::Option* preset = command.add_option("--preset", options.preset, "A register of a standard (tapwell-cli presets)")
                              ->option_text("NAME");
    poly->excludes(preset);
    add_preset_parameters(command, options.parameters, preset);
}

void add_preset_parameters(CLI::App& command, PresetParameters& parameters, CLI::Option* needs) {
    CLI::Option* added[] = {
        command.add_option("--seed", parameters.seed, "The preset's seed (wifi-scrambler, scrambler-64b66b)"),
        command.add_option("--c-init", parameters.c_init, "c_init of 3gpp-c, 0 to 2^31-1"),
        command.add_option("--channel", parameters.channel, "The channel index of ble-whitening, 0 to 39"),
    };
    for (CLI::Option* o : added) {
        if (needs != nullptr) o->needs(needs);
    }
}

bool read_preset(const std::string& name, const PresetParameters& given, Preset& out, int& status) {
    status = EXIT_USAGE;
    const std::optional<std::uint64_t>* values[] = {&given.seed, &given.c_init, &given.channel};
    const char* names[] = {"seed", "c-init", "channel"};
    try {
        out = preset(name);
        for (int i = 0; i < 3; ++i) {
            if (!values[i]->has_value()) continue;
            if (out.origin.parameter != names[i]) {
                print_error("--" + std::string(names[i]) + ": the preset " + name + " takes " +
                            (out.origin.parameter.empty() ? std::string("no parameter") : "--" + out.origin.parameter));
                return false;
            }
            status = EXIT_REJECTED;
            out = preset(name, **values[i]);
        }
        return true;
    } catch (const Error& e) {
        print_error(e.what());
        return false;
    }
}

bool read_registers(const RegisterOptions& options, ChosenRegisters& out, int& status) {
    status = EXIT_USAGE;
    if (!options.preset.empty()) {
        Preset p;
        if (!read_preset(options.preset, options.parameters, p, status)) return false;
        out.source = {p.registers, p.inverted};
        out.preset = p;
        return true;
    }
    if (options.polys.empty()) {
        print_error("give --poly (twice for a Gold code) or --preset");
        return false;
    }
    if (options.states.size() > options.polys.size()) {
        print_error("--state is given more often than --poly");
        return false;
    }
    const RegisterForm form = options.form == "galois" ? RegisterForm::galois : RegisterForm::fibonacci;
    for (std::size_t i = 0; i < options.polys.size(); ++i) {
        PolyWord w;
        if (!read_polynomial_argument(options.polys[i], options.notation.value_or(Notation::binary), "--poly", w)) {
            return false;
        }
        std::uint64_t state = 1;
        if (i < options.states.size() && !read_state(options.states[i], w.degree, state)) {
            print_error("--state: '" + options.states[i] + "' is neither " + std::to_string(w.degree) +
                        " digits 0/1 at most nor 0x and hex digits");
            return false;
        }
        out.source.registers.push_back({Polynomial::from_value(w.value), state, form});
    }
    return true;
}

}  // namespace tapwell::cli

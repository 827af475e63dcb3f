// Ring: cli. tapwell-cli presets: the registers of the standards (PRBS of
// ITU-T O.150, GPS C/A codes of IS-GPS-200) as the window's list text, and
// the scramblers, randomizers and ranging codes of other standards with
// where they are drawn and the bits they put out.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/job_runner.h"
#include "cli/json_writer.h"
#include "cli/register_options.h"
#include "core/notation.h"
#include "core/poly_order.h"
#include "core/presets.h"
#include "tapwell/errors.hpp"
#include "tapwell/presets.hpp"

namespace tapwell::cli {

namespace {

struct PresetsOptions {
    std::string name;
    bool json = false;
    PresetParameters parameters;
} options;

constexpr std::size_t FIRST_BITS = 32;

const char* kind_name(PresetKind kind) {
    switch (kind) {
        case PresetKind::additive: return "additive";
        case PresetKind::multiplicative: return "multiplicative";
        default: return "sequence";
    }
}

std::string bits_text(const std::vector<std::uint8_t>& bits) {
    std::string text;
    for (std::uint8_t b : bits) text += static_cast<char>('0' + b);
    return text;
}

std::string hex_text(std::uint64_t v) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(v));
    return buffer;
}

// The facts of a standard's register beyond the window's: where the
// standard draws it, how it writes the polynomial, the form, each register's
// state, the parameter and the first bits the standard puts out.
int show_standard_preset(const Preset& p) {
    FactList facts;
    facts.text("preset", p.name);
    facts.text("standard", p.origin.standard);
    facts.text("section", p.origin.section);
    facts.text("source", p.source);
    facts.text("written", p.origin.written);
    facts.text("kind", kind_name(p.origin.kind));
    facts.text("form", p.registers[0].form == RegisterForm::galois ? "galois" : "fibonacci");
    const char* suffixes[] = {"", "_b"};
    for (std::size_t i = 0; i < p.registers.size() && i < 2; ++i) {
        const Register& r = p.registers[i];
        facts.text(std::string("polynomial") + suffixes[i], r.polynomial.format(Notation::binary));
        facts.text(std::string("algebraic") + suffixes[i], r.polynomial.format(Notation::algebraic));
        facts.text(std::string("state") + suffixes[i], hex_text(r.state));
    }
    if (!p.origin.parameter.empty()) {
        facts.text("parameter", "--" + p.origin.parameter);
        facts.number("parameter_value", p.origin.parameter_value);
        facts.text("parameter_range", std::to_string(p.origin.parameter_low) + ".." + std::to_string(p.origin.parameter_high));
    }
    if (p.origin.code_length != 0) facts.number("code_length", p.origin.code_length);
    facts.text("first_bits", bits_text(preset_bits(p, FIRST_BITS)));
    std::string command = "tapwell-cli sequence --preset " + p.name;
    if (!p.origin.parameter.empty()) command += " --" + p.origin.parameter + " " + std::to_string(p.origin.parameter_value);
    facts.text("sequence", command);
    return print_facts(facts, options.json);
}

const char* mode_name(PresetMode mode) { return mode == PresetMode::gold ? "gold" : "serial"; }

int list_presets() {
    FactList facts;
    for (const PresetRecord& p : preset_records()) facts.text(p.name, p.source);
    return print_facts(facts, options.json);
}

int show_preset(const PresetRecord& p) {
    FactList facts;
    facts.text("preset", p.name);
    facts.text("mode", mode_name(p.mode));
    facts.flag("inverted", p.inverted);
    facts.text("source", p.source);
    facts.number("period", polynomial_facts(p.a).order);
    if (p.longest_zero_run != 0) facts.number("longest_zero_run", static_cast<std::uint64_t>(p.longest_zero_run));
    facts.text("polynomial", write_notation(p.a, Notation::binary));
    facts.text("initial", initial_value_text(p.initial_a, p.a.degree));
    if (p.mode == PresetMode::gold) {
        facts.text("polynomial_b", write_notation(p.b, Notation::binary));
        facts.text("initial_b", initial_value_text(p.initial_b, p.b.degree));
    }
    std::string command = "tapwell-cli generate --preset " + p.name;
    if (p.inverted) command += " --invert";
    facts.text("generate", command);
    // The list text last, after a line of its own, to paste into the window.
    facts.both("list", "", json_string(preset_list_text(p, "\r\n")));
    return print_facts(facts, options.json, preset_list_text(p, "\n"));
}

int run_presets() {
    if (options.name.empty()) return list_presets();
    const PresetRecord* p = preset_named(options.name);
    if (p == nullptr) {
        print_error("no preset named '" + options.name + "'; tapwell-cli presets lists them");
        return EXIT_USAGE;
    }
    if (p->origin.standard.empty() && !options.parameters.seed && !options.parameters.c_init &&
        !options.parameters.channel) {
        return show_preset(*p);
    }
    Preset chosen;
    int status = EXIT_USAGE;
    if (!read_preset(p->name, options.parameters, chosen, status)) return status;
    return show_standard_preset(chosen);
}

}  // namespace

Command add_presets_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "presets", "List the registers of the standards, or show one as the window's list text");
    app->add_option("NAME", options.name, "A preset (prbs9, gps-ca-1, ...); without it, the list");
    app->add_flag("--json", options.json, "The same facts as JSON");
    add_preset_parameters(*app, options.parameters, nullptr);
    return {app, run_presets};
}

}  // namespace tapwell::cli

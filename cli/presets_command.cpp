// Ring: cli. tapwell-cli presets: the registers of the standards (PRBS of
// ITU-T O.150, GPS C/A codes of IS-GPS-200) as the window's list text.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/job_runner.h"
#include "cli/json_writer.h"
#include "core/notation.h"
#include "core/poly_order.h"
#include "core/presets.h"

namespace tapwell::cli {

namespace {

struct PresetsOptions {
    std::string name;
    bool json = false;
} options;

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
    return show_preset(*p);
}

}  // namespace

Command add_presets_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "presets", "List the registers of the standards, or show one as the window's list text");
    app->add_option("NAME", options.name, "A preset (prbs9, gps-ca-1, ...); without it, the list");
    app->add_flag("--json", options.json, "The same facts as JSON");
    return {app, run_presets};
}

}  // namespace tapwell::cli

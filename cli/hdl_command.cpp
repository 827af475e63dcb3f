// Ring: cli. tapwell-cli hdl: a register, a preset or a Gold code as a
// Verilog, VHDL or C generator of W bits a clock, its checker, or a
// testbench of either (the library's tapwell/hdl.hpp). The text goes to
// standard output, or whole to --output FILE (a temporary beside it,
// renamed), and then the facts of what was written, as lines or --json.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/job_runner.h"
#include "cli/notation_option.h"
#include "tapwell/errors.hpp"
#include "tapwell/hdl.hpp"
#include "tapwell/pairs.hpp"
#include "tapwell/presets.hpp"

namespace tapwell::cli {

namespace {

struct HdlOptions {
    std::string poly, state = "1", state_b = "1", preset;
    std::vector<std::string> gold;
    std::optional<Notation> notation;
    RegisterForm form = RegisterForm::fibonacci;
    HdlLanguage language = HdlLanguage::verilog;
    int width = 1;
    HdlBitOrder bit_order = HdlBitOrder::first_at_lsb;
    HdlStyle style = HdlStyle::flat;
    std::string name = "tapwell_lfsr";
    bool checker = false, testbench = false, json = false;
    std::size_t words = 0;
    std::string output;
} options;

// A state as the window writes an initial value: binary digits, the stage
// the feedback enters first, at most n of them.
bool read_state(const std::string& text, int n, const char* what, std::uint64_t& out) {
    if (text.empty() || text.size() > static_cast<std::size_t>(n) ||
        text.find_first_not_of("01") != std::string::npos) {
        print_error(std::string(what) + ": '" + text + "' is no state of " + std::to_string(n) +
                    " stages: 1 to " + std::to_string(n) + " binary digits, bit 0 (the stage put out first) last");
        return false;
    }
    out = 0;
    for (char c : text) out = out << 1 | static_cast<std::uint64_t>(c == '1');
    return true;
}

Polynomial gold_partner(const Polynomial& a) {
    const std::vector<Partner> found = partners(a);
    for (const Partner& p : found) {
        if (p.family == PartnerFamily::gold) return p.polynomial;
    }
    if (found.empty()) throw InvalidArgument(a.format() + " has no preferred partner to make a Gold code with");
    return found.front().polynomial;
}

// EXIT_DONE with the registers, or the exit status after a message.
int read_registers(std::vector<Register>& registers, bool& inverted) {
    const int sources = !options.poly.empty() + !options.preset.empty() + !options.gold.empty();
    if (sources != 1) {
        print_error("give one of --poly, --preset and --gold");
        return EXIT_USAGE;
    }
    if (!options.preset.empty()) {
        const Preset& p = preset(options.preset);  // InvalidArgument names it
        registers = p.registers;
        inverted = p.inverted;
        return EXIT_DONE;
    }
    const Notation notation = options.notation.value_or(Notation::binary);
    std::vector<std::string> texts = options.gold.empty() ? std::vector<std::string>{options.poly} : options.gold;
    const std::string* states[] = {&options.state, &options.state_b};
    const char* what[] = {"--state", "--state-b"};
    for (std::size_t i = 0; i < 2 && i < texts.size() + (options.gold.size() == 1); ++i) {
        Register reg;
        // --gold A alone: B is A's first preferred partner of the Gold family
        // (partners throws InvalidArgument for an A that has none).
        reg.polynomial = i < texts.size() ? Polynomial::parse(texts[i], notation)  // ParseError names the character
                                          : gold_partner(registers.front().polynomial);
        reg.form = options.form;
        if (!read_state(*states[i], reg.polynomial.degree(), what[i], reg.state)) return EXIT_USAGE;
        registers.push_back(reg);
    }
    return EXIT_DONE;
}

// Writes the text whole to a temporary beside the file and renames it over
// the file, so that a reader never sees half of it. False after a message.
bool write_whole(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".part";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (f == nullptr) {
        print_error("cannot write " + path + ": cannot create " + temporary);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    std::error_code error;
    if (written && closed) {
        std::filesystem::rename(temporary, path, error);
        if (!error) return true;
    }
    std::filesystem::remove(temporary, error);
    print_error("cannot write " + path + (written && closed ? ": cannot replace it" : ": the disk refused the text"));
    return false;
}

HdlUnit unit_asked() {
    if (options.checker) return options.testbench ? HdlUnit::checker_testbench : HdlUnit::checker;
    return options.testbench ? HdlUnit::generator_testbench : HdlUnit::generator;
}

std::string module_name(const HdlRequest& r) {
    std::string name = r.name;
    if (r.unit == HdlUnit::checker || r.unit == HdlUnit::checker_testbench) name += "_checker";
    if (r.unit == HdlUnit::generator_testbench || r.unit == HdlUnit::checker_testbench) name += "_tb";
    return name;
}

int run_hdl() {
    if (options.testbench != (options.words != 0)) {
        print_error("--testbench and --words N go together");
        return EXIT_USAGE;
    }
    if (options.json && options.output.empty()) {
        print_error("--json gives the facts of a text written to --output FILE; the text itself is no JSON");
        return EXIT_USAGE;
    }
    HdlRequest request;
    try {
        if (const int status = read_registers(request.registers, request.inverted); status != EXIT_DONE) return status;
        request.language = options.language;
        request.unit = options.language == HdlLanguage::c ? HdlUnit::generator : unit_asked();
        if (options.language == HdlLanguage::c && (options.checker || options.testbench)) {
            print_error("--language c writes the generator alone; --checker and --testbench are Verilog and VHDL");
            return EXIT_REJECTED;
        }
        request.width = options.width;
        request.style = options.style;
        request.bit_order = options.bit_order;
        request.name = options.name;
        request.words = options.words;
        const std::string text = hdl_text(request);
        if (options.output.empty()) {
            std::fwrite(text.data(), 1, text.size(), stdout);
            if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
                print_error("cannot write standard output");
                return EXIT_USAGE;
            }
            return EXIT_DONE;
        }
        if (!write_whole(options.output, text)) return EXIT_USAGE;
        FactList facts;
        facts.text("output", options.output);
        facts.text("module", module_name(request));
        facts.number("width", static_cast<std::uint64_t>(request.width));
        facts.number("bytes", text.size());
        if (request.unit == HdlUnit::generator) {
            const HdlSize size = hdl_size(request);
            facts.number("xors", size.xors);
            facts.number("depth", static_cast<std::uint64_t>(size.depth));
        } else if (request.unit == HdlUnit::checker) {
            facts.number("lock_words", hdl_checker_lock_words(request));
        }
        if (request.registers.size() == 2) facts.text("polynomial_b", request.registers[1].polynomial.format());
        if (request.inverted) facts.flag("inverted", true);
        return print_facts(facts, options.json);
    } catch (const ParseError& e) {
        print_error(e.what());
        return EXIT_USAGE;
    } catch (const InvalidArgument& e) {
        print_error(e.what());
        return EXIT_REJECTED;
    }
}

template <typename E>
CLI::Option* add_choice(CLI::App& app, const std::string& flag, E& target, const std::map<std::string, E>& names,
                        const std::string& help) {
    return app.add_option(flag, target, help)->transform(CLI::CheckedTransformer(names, CLI::ignore_case));
}

}  // namespace

Command add_hdl_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "hdl", "A register, a preset or a Gold code as Verilog, VHDL or C that puts out W bits a clock, its "
               "checker, or a self-checking testbench of either");
    app->add_option("--poly", options.poly, "The register's polynomial, in the notation of --notation");
    app->add_option("--state", options.state,
                    "The seed as the window's initial value (binary, bit 0 last; default 1); of A with --gold");
    app->add_option("--state-b", options.state_b, "The seed of B with --gold (default 1)");
    add_notation_option(*app, "--notation", options.notation, "How the polynomials are written (default binary)");
    add_choice(*app, "--form", options.form,
               {{"fibonacci", RegisterForm::fibonacci}, {"galois", RegisterForm::galois}},
               "fibonacci (default) or galois");
    app->add_option("--preset", options.preset, "A preset register (tapwell-cli presets lists them)");
    app->add_option("--gold", options.gold,
                    "A Gold code: the sum of the registers of A and B (A alone: B is its first Gold partner)")
        ->expected(1, 2);
    add_choice(*app, "--language", options.language,
               {{"verilog", HdlLanguage::verilog}, {"vhdl", HdlLanguage::vhdl}, {"c", HdlLanguage::c}},
               "verilog (default, Verilog-2001), vhdl (VHDL-2008) or c (C99)");
    app->add_option("--width", options.width, "W, the bits a clock, 1 to 1024 (default 1)");
    add_choice(*app, "--bit-order", options.bit_order,
               {{"lsb", HdlBitOrder::first_at_lsb}, {"msb", HdlBitOrder::first_at_msb}},
               "lsb (default: data_out[0] is the first bit in time) or msb (data_out[W-1] is)");
    add_choice(*app, "--style", options.style, {{"flat", HdlStyle::flat}, {"chained", HdlStyle::chained}},
               "flat (default: one level of XOR) or chained (bits of the same clock reused, fewest XORs)");
    app->add_option("--name", options.name, "The module's name (default tapwell_lfsr)");
    app->add_flag("--checker", options.checker, "The checker <name>_checker: locks onto data_in, counts errors");
    app->add_flag("--testbench", options.testbench, "A self-checking testbench <name>_tb instead of the module");
    app->add_option("--words", options.words, "The testbench's words, 1 to 100000 and 16777216 bits in all");
    app->add_option("--output", options.output, "Write the text to FILE (whole or not at all), then its facts");
    app->add_flag("--json", options.json, "The facts of --output as JSON");
    return {app, run_hdl};
}

}  // namespace tapwell::cli

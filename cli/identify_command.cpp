// Ring: cli. tapwell-cli identify: the shortest register that produces a bit
// sequence (Berlekamp-Massey): its linear complexity, its polynomial in the
// window's notation, the initial value that makes the window's register
// reproduce the input, and whether the input is an M-sequence of it.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/file_bytes.h"
#include "cli/job_runner.h"
#include "core/bit_text.h"
#include "library/bit_recurrence.h"
#include "tapwell/polynomial.hpp"

namespace tapwell::cli {

namespace {

struct IdentifyOptions {
    std::string bits;
    std::string file;
    bool json = false;
} options;

// Far more than any question here needs; a larger file is refused, not cut.
constexpr std::size_t MAX_INPUT_BYTES = std::size_t{1} << 30;

int run_identify() {
    std::string text = options.bits;
    if (!options.file.empty()) {
        std::string error;
        if (!read_file_bytes(options.file, MAX_INPUT_BYTES, text, error)) {
            print_error("--bits-file: " + error);
            return EXIT_USAGE;
        }
        if (text.size() > MAX_INPUT_BYTES) {
            print_error("--bits-file: '" + options.file + "' is larger than 1 GiB");
            return EXIT_USAGE;
        }
    }
    const BitReading input = read_bit_text(text);
    if (!input.ok()) {
        print_error((options.file.empty() ? std::string("--bits") : "--bits-file " + options.file) + ": " + input.error);
        return EXIT_USAGE;
    }
    const BitSequence& bits = input.bits;
    const Recurrence r = recurrence_of(bits);
    const std::size_t l = r.linear_complexity;
    // The constant term of the polynomial: without it x divides the polynomial.
    const bool has_register = l >= 1 && r.polynomial_text.back() == '1';

    FactList facts;
    facts.number("bits", bits.count);
    facts.number("linear_complexity", l);
    facts.text("polynomial", r.polynomial_text);
    facts.text("algebraic", r.algebraic_text);
    if (has_register) {
        // The state of any length, as the window's initial value: the first L
        // bits, the earliest written last.
        std::string state;
        for (std::size_t k = l; k-- > 0;) state += bits.at(k) ? '1' : '0';
        facts.text("initial_state", state);
    } else {
        facts.both("initial_state", "none", "null");
    }
    if (l == 0) {
        facts.text("register", "none: the input is all zeros");
    } else if (!has_register) {
        facts.text("register", "none: x divides the polynomial, the input does not repeat from its start, and no "
                               "register of the window reproduces it");
    } else if (l < WINDOW_MIN_DEGREE || l > WINDOW_MAX_DEGREE) {
        facts.text("register", "degree " + std::to_string(l) + ", which the window's registers (3 to 32) do not take");
    } else {
        facts.text("register", "the window's register " + r.polynomial_text + " started from the initial state");
    }
    const bool unique = r.unique;
    facts.flag("unique", unique);
    if (r.polynomial) {
        facts.flag("m_sequence", r.polynomial->is_primitive());
    } else if (has_register) {
        facts.both("m_sequence", "unknown: degree above 64", "null");
    } else {
        facts.flag("m_sequence", false);
    }
    if (!unique) {
        print_error("warning: " + std::to_string(bits.count) + " bits are fewer than 2L = " + std::to_string(2 * l) +
                    "; another register of the same length may produce them too");
    }
    return print_facts(facts, options.json);
}

}  // namespace

Command add_identify_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "identify", "Find the shortest register that produces a bit sequence (Berlekamp-Massey)");
    CLI::Option_group* group = app->add_option_group("input", "The bits, from exactly one of");
    group->add_option("--bits", options.bits, "The bits as 0 and 1; white space is ignored")->option_text("TEXT");
    group->add_option("--bits-file", options.file, "Read the bits from FILE (- for standard input)")
        ->option_text("FILE");
    group->require_option(1);
    app->add_flag("--json", options.json, "The same facts as one JSON object");
    return {app, run_identify};
}

}  // namespace tapwell::cli

// Ring: cli. tapwell-cli search: the primitive polynomial search. The
// window's own job runs it as the window would; beyond the window (above
// degree 32, --terms, --to, --degree, --json) cli/range_search does.
#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/job_runner.h"
#include "cli/notation_option.h"
#include "cli/range_search.h"
#include "jobs/job_frame.h"
#include "jobs/leading_integer.h"
#include "jobs/primitive_search.h"
#include "jobs/shared_state.h"
#include "library/poly_conversion.h"
#include "tapwell/errors.hpp"

namespace tapwell::cli {

namespace {

struct SearchOptions {
    std::string from;
    int degree = 0;
    std::optional<Notation> notation;
    std::string count = "0";
    std::string to;
    int terms = 0;
    bool json = false;
    CommonOptions common;
    CLI::Option* from_given = nullptr;
} options;

int run_window_search() {
    std::string from = options.from;
    if (options.notation && !window_polynomial_text(options.from, *options.notation, "--from", from)) return EXIT_USAGE;
    const SearchInput input = read_search_input(from.c_str(), options.count.c_str());
    return run_session(options.common,
                       {{[input](FrontEnd& f) { return run_primitive_search(f, input); }, RUN_PRIMITIVE_SEARCH,
                         format_status_report}});
}

// A polynomial of the options, in --notation (the window's text by default).
bool read_option(const std::string& text, const char* what, Polynomial& out) {
    PolyWord word;
    if (!read_polynomial_argument(text, options.notation.value_or(Notation::binary), what, word)) return false;
    out = polynomial_of_word(word);
    return true;
}

int run_search() {
    if ((options.from_given->count() > 0) == (options.degree != 0)) {
        print_error("give the start as --from or as --degree, not both");
        return EXIT_USAGE;
    }
    if (!accept_typed_text(options.from, "--from") || !accept_typed_text(options.count, "--count") ||
        !accept_typed_text(options.to, "--to")) {
        return EXIT_USAGE;
    }
    PrimitiveSearch search;
    if (options.degree != 0) {
        if (options.degree < WINDOW_MIN_DEGREE || options.degree > Polynomial::max_degree) {
            print_error("--degree " + std::to_string(options.degree) + ": the search takes degrees 3 to 64");
            return EXIT_REJECTED;
        }
        search.from = Polynomial::from_value(std::uint64_t{1} << (options.degree - 1));
    } else {
        // Beyond the window only when its job could not take the start itself.
        bool wide = false;
        try {
            wide = Polynomial::parse(options.from, options.notation.value_or(Notation::binary)).degree() >
                   WINDOW_MAX_DEGREE;
        } catch (const Error&) {
            // The window reads the text its own way, and refuses it its own way.
        }
        if (!wide && options.to.empty() && options.terms == 0 && !options.json) return run_window_search();
        if (!read_option(options.from, "--from", search.from)) return EXIT_USAGE;
    }
    // The count as the window reads it: its leading integer, taken unsigned.
    search.count = static_cast<std::uint32_t>(leading_integer(options.count.c_str()));
    search.terms = options.terms;
    if (!options.to.empty()) {
        Polynomial to;
        if (!read_option(options.to, "--to", to)) return EXIT_USAGE;
        search.to = to;
    }
    return run_range_search(search, options.common, options.json);
}

}  // namespace

Command add_search_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "search", "Search primitive polynomials of one degree (3 to 64), from a start polynomial upwards");
    options.from_given = app->add_option("--from", options.from,
                                         "Start polynomial, as typed into \"Searching from\" (e.g. 10011)")
                             ->option_text("TEXT");
    app->add_option("--degree", options.degree, "Start at x^N + 1, the first candidate of degree N (3 to 64)")
        ->option_text("N");
    add_notation_option(*app, "--notation", options.notation,
                        "How --from and --to are written (default: the window's own text, passed as typed)");
    app->add_option("--count", options.count,
                    "Number of finds after which to stop, as typed into \"Number of find(0:max)\"; "
                    "0 finds all (default)")
        ->option_text("TEXT");
    app->add_option("--to", options.to,
                    "End before this polynomial (itself not tested): of the start's degree, or x^(n+1) + 1 for the "
                    "end of the degree; [A, B) and [B, C) find together what [A, C) finds")
        ->option_text("END");
    app->add_option("--terms", options.terms,
                    "Only the polynomials of exactly K non-zero terms (odd, 3 to n + 1): 3 for the trinomials")
        ->option_text("K");
    app->add_flag("--json", options.json,
                  "The finds as one JSON object on standard output (degree, from, to, terms, count, found, polynomials)");
    add_common_options(*app, options.common);
    return {app, run_search};
}

}  // namespace tapwell::cli

// Ring: cli. tapwell-cli pairs: a primitive polynomial search and then the
// preferred pair search on its finds, as Start and then P.P. search would run.
#include <CLI/CLI.hpp>

#include <string>

#include "cli/commands.h"
#include "cli/job_runner.h"
#include "cli/notation_option.h"
#include "jobs/job_frame.h"
#include "jobs/preferred_pairs.h"
#include "jobs/primitive_search.h"
#include "jobs/shared_state.h"

namespace tapwell::cli {

namespace {

struct PairsOptions {
    std::string from;
    std::optional<Notation> notation;
    std::string search_count = "0";
    std::string count = "0";
    CommonOptions common;
} options;

int run_pairs() {
    std::string from = options.from;
    if (options.notation && !window_polynomial_text(options.from, *options.notation, "--from", from)) return EXIT_USAGE;
    if (!accept_typed_text(options.count, "--count") || !accept_typed_text(from, "--from") ||
        !accept_typed_text(options.search_count, "--search-count")) {
        return EXIT_USAGE;
    }
    const SearchInput search = read_search_input(from.c_str(), options.search_count.c_str());
    // The pair search takes the finds of the search before it, as P.P. search does.
    return run_session(options.common,
                       {{[search](FrontEnd& f) { return run_primitive_search(f, search); }, RUN_PRIMITIVE_SEARCH,
                         format_status_report},
                        {[](FrontEnd& f) { return run_pair_search(f, read_pairs_input(options.count.c_str())); },
                         RUN_PAIR_SEARCH, format_status_report}});
}

}  // namespace

Command add_pairs_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "pairs", "Search primitive polynomials, then preferred pairs among the finds");
    app->add_option("--from", options.from,
                    "Start polynomial of the primitive search, as typed into \"Searching from\"")
        ->required()
        ->option_text("TEXT");
    add_notation_option(*app, "--notation", options.notation,
                        "How --from is written (default: the window's own text, passed as typed); it is turned "
                        "into the window's text, degree 3 to 32");
    app->add_option("--search-count", options.search_count,
                    "Number of primitive polynomials to find; 0 finds all (default)")
        ->option_text("TEXT");
    app->add_option("--count", options.count,
                    "Number of preferred pairs after which to stop; 0 for all (default)")
        ->option_text("TEXT");
    add_common_options(*app, options.common);
    return {app, run_pairs};
}

}  // namespace tapwell::cli

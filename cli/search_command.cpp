// Ring: cli. tapwell-cli search: the primitive polynomial search.
#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/job_runner.h"
#include "cli/notation_option.h"
#include "jobs/job_frame.h"
#include "jobs/primitive_search.h"
#include "jobs/shared_state.h"

namespace tapwell::cli {

namespace {

struct SearchOptions {
    std::string from;
    std::optional<Notation> notation;
    std::string count = "0";
    CommonOptions common;
} options;

int run_search() {
    std::string from = options.from;
    if (options.notation && !window_polynomial_text(options.from, *options.notation, "--from", from)) return EXIT_USAGE;
    if (!accept_typed_text(from, "--from") || !accept_typed_text(options.count, "--count")) return EXIT_USAGE;
    const SearchInput input = read_search_input(from.c_str(), options.count.c_str());
    return run_session(options.common,
                       {{[input](FrontEnd& f) { return run_primitive_search(f, input); }, RUN_PRIMITIVE_SEARCH,
                         format_status_report}});
}

}  // namespace

Command add_search_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "search", "Search primitive polynomials of one degree, from a start polynomial upwards");
    app->add_option("--from", options.from,
                    "Start polynomial, as typed into \"Searching from\" (e.g. 10011)")
        ->required()
        ->option_text("TEXT");
    add_notation_option(*app, "--notation", options.notation,
                        "How --from is written (default: the window's own text, passed as typed); it is turned "
                        "into the window's text, degree 3 to 32");
    app->add_option("--count", options.count,
                    "Number of finds after which to stop, as typed into \"Number of find(0:max)\"; "
                    "0 finds all (default)")
        ->option_text("TEXT");
    add_common_options(*app, options.common);
    return {app, run_search};
}

}  // namespace tapwell::cli

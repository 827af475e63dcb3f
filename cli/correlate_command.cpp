// Ring: cli. tapwell-cli correlate: the cross-correlation of two M-sequences
// over all phases.
#include <CLI/CLI.hpp>

#include <string>

#include "cli/commands.h"
#include "cli/job_runner.h"
#include "cli/list_input.h"
#include "jobs/cross_correlation.h"
#include "jobs/shared_state.h"

namespace tapwell::cli {

namespace {

struct CorrelateOptions {
    ListOptions list;
    CommonOptions common;
} options;

// found_count is the number of phases done.
std::string correlate_progress() {
    return "phase dt=" + std::to_string(found_count.load(std::memory_order_relaxed));
}

int run_correlate() {
    std::string list;
    if (!read_list(options.list, list) || !accept_list_text(options.list, list)) return EXIT_USAGE;
    const CorrelationInput input = read_correlation_input(list);
    return run_session(options.common, {{[&input](FrontEnd& f) { return run_correlation(f, input); },
                                         RUN_CORRELATE, correlate_progress}});
}

}  // namespace

Command add_correlate_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "correlate",
        "Cross-correlate the sequences of two polynomials of equal degree over all phases");
    add_list_options(*app, options.list);
    add_common_options(*app, options.common);
    return {app, run_correlate};
}

}  // namespace tapwell::cli

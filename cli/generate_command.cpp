// Ring: cli. tapwell-cli generate: sequence generation in one of the three modes.
#include <CLI/CLI.hpp>

#include <map>
#include <string>

#include "cli/commands.h"
#include "cli/job_runner.h"
#include "cli/list_input.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"

namespace tapwell::cli {

namespace {

struct GenerateOptions {
    int mode = 0;
    std::string width = "1";
    std::string count = "0";
    bool show_register = false;
    ListOptions list;
    CommonOptions common;
} options;

std::string generate_progress() {
    return "generated " + std::to_string(generated_count.load(std::memory_order_relaxed));
}

int run_generate() {
    if (!put_slot_text(SLOT_WIDTH, options.width, "--width") ||
        !put_slot_text(SLOT_OUTPUT_COUNT, options.count, "--count") || !put_list(options.list)) {
        return EXIT_USAGE;
    }
    set_setting(SET_GEN_MODE, options.mode);
    set_setting(SET_SHOW_REGISTER, options.show_register ? 1 : 0);
    return run_session(options.common,
                       {{generate_sequences, RUN_GENERATE, generate_progress}});
}

}  // namespace

Command add_generate_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "generate", "Generate sequence values from polynomials and initial values");
    const std::map<std::string, int> modes = {{"serial", 0}, {"parallel", 1}, {"gold", 2}};
    app->add_option("--mode", options.mode,
                    "serial (words of one register, default), parallel (one register per "
                    "bit) or gold (the exclusive-or of two registers)")
        ->transform(CLI::CheckedTransformer(modes, CLI::ignore_case))
        ->option_text("serial|parallel|gold");
    app->add_option("--width", options.width,
                    "Bits per value, as typed into \"Width of output bit\" (default 1)")
        ->option_text("TEXT");
    app->add_option("--count", options.count,
                    "Number of values, as typed into \"Number of output(0:max)\"; 0 gives the "
                    "period of the first register (default)")
        ->option_text("TEXT");
    app->add_flag("--show-register", options.show_register,
                  "Add the register states to each value line (serial and gold)");
    add_list_options(*app, options.list);
    add_common_options(*app, options.common);
    return {app, run_generate};
}

}  // namespace tapwell::cli

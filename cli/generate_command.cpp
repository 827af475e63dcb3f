// Ring: cli. tapwell-cli generate: sequence generation in one of the three modes.
#include <CLI/CLI.hpp>

#include <map>
#include <string>

#include "cli/commands.h"
#include "cli/inverted_output.h"
#include "cli/job_runner.h"
#include "cli/list_input.h"
#include "core/presets.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"
#include "tapwell/sequences.hpp"

namespace tapwell::cli {

namespace {

struct GenerateOptions {
    GenerationMode mode = GenerationMode::serial;
    std::string width = "1";
    std::string count = "0";
    bool show_register = false;
    bool invert = false;
    ListOptions list;
    CommonOptions common;
} options;

std::string generate_progress() {
    return "generated " + std::to_string(generated_count.load(std::memory_order_relaxed));
}

int run_generate() {
    std::string list;
    if (!accept_typed_text(options.width, "--width") || !accept_typed_text(options.count, "--count") ||
        !read_list(options.list, list)) {
        return EXIT_USAGE;
    }
    GenerationMode mode = options.mode;
    if (const PresetRecord* p = preset_named(options.list.preset)) {
        mode = p->mode == PresetMode::gold ? GenerationMode::gold : GenerationMode::serial;
    }
    if (options.invert) {
        if (mode != GenerationMode::serial) {
            print_error("--invert inverts a serial run (one register); nothing was run");
            return EXIT_USAGE;
        }
        // A list whose first polynomial the window cannot run goes to the
        // serial job as it is, which refuses it.
        std::string gold;
        if (inverted_gold_list(list, gold)) {
            list = gold;
            mode = GenerationMode::gold;
        }
    }
    if (!accept_list_text(options.list, list)) return EXIT_USAGE;
    const GenerationInput input = read_generation_input(options.width.c_str(), options.count.c_str(), list,
                                                        static_cast<std::int32_t>(mode), options.show_register);
    return run_session(options.common,
                       {{[&input](FrontEnd& f) { return run_generation(f, input); }, RUN_GENERATE, generate_progress}});
}

}  // namespace

Command add_generate_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "generate", "Generate sequence values from polynomials and initial values");
    const std::map<std::string, GenerationMode> modes = {
        {"serial", GenerationMode::serial}, {"parallel", GenerationMode::parallel}, {"gold", GenerationMode::gold}};
    CLI::Option* mode = app->add_option("--mode", options.mode,
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
    app->add_flag("--invert", options.invert,
                  "Invert the output of a serial run (as ITU-T O.150 sends some of its patterns): run as the "
                  "window's Gold mode with a register B of x^m + 1 from all ones, m the degree of the register");
    add_list_options(*app, options.list, true);
    mode->excludes(app->get_option("--preset"));
    add_common_options(*app, options.common);
    return {app, run_generate};
}

}  // namespace tapwell::cli

// Ring: cli. See list_input.h.
#include "cli/list_input.h"

#include <CLI/CLI.hpp>

#include "cli/file_bytes.h"
#include "cli/job_runner.h"
#include "cli/notation_option.h"
#include "core/presets.h"

namespace tapwell::cli {

namespace {
// Far more than a list of 32 registers needs; a larger file is refused, not cut.
constexpr std::size_t MAX_LIST_BYTES = std::size_t{64} << 20;
}  // namespace

void add_list_options(CLI::App& command, ListOptions& options, bool with_presets) {
    CLI::Option_group* group =
        command.add_option_group("list", "The polynomial list, from exactly one of");
    group->add_option_function<std::string>(
                      "--list",
                      [&options](const std::string& file) {
                          options.from_file = true;
                          options.file = file;
                      },
                      "Read the text of \"Polynominal and Initial value(each line alternative)\" "
                      "from FILE, byte for byte (- for standard input)")
        ->option_text("FILE");
    group->add_option("--list-text", options.text,
                      "The text of \"Polynominal and Initial value(each line alternative)\" "
                      "itself: polynomial and initial-value lines")
        ->option_text("TEXT");
    CLI::Option* preset = nullptr;
    if (with_presets) {
        preset = group->add_option("--preset", options.preset,
                                   "The list of a standard's register (tapwell-cli presets lists them); the "
                                   "preset also chooses the mode")
                     ->option_text("NAME");
    }
    group->require_option(1);
    CLI::Option* notation = add_notation_option(
        command, "--poly-notation", options.poly_notation,
        "How the polynomial lines of the list are written (default: the window's own text); they are turned "
        "into the window's text before the job runs");
    if (preset != nullptr) notation->excludes(preset);
}

bool read_list(const ListOptions& options, std::string& list) {
    if (!options.preset.empty()) {
        const PresetRecord* p = preset_named(options.preset);
        if (p == nullptr) {
            print_error("--preset: no preset named '" + options.preset + "'; tapwell-cli presets lists them");
            return false;
        }
        list = preset_list_text(*p, "\r\n");
        return true;
    }
    std::string what = "--list-text";
    if (options.from_file) {
        what = "--list " + options.file;
        std::string error;
        if (!read_file_bytes(options.file, MAX_LIST_BYTES, list, error)) {
            print_error("list: " + error);
            return false;
        }
        if (list.size() > MAX_LIST_BYTES) {
            print_error(what + " is larger than 64 MiB; nothing was run");
            return false;
        }
    } else {
        list = options.text;
    }
    if (!options.poly_notation) return true;
    std::string converted;
    if (!window_list_text(list, *options.poly_notation, what, converted)) return false;
    list = converted;
    return true;
}

bool accept_list_text(const ListOptions& options, const std::string& list) {
    const std::string what = options.from_file ? "--list " + options.file
                             : options.preset.empty() ? std::string("--list-text") : "--preset " + options.preset;
    return accept_typed_text(list, what.c_str());
}

}  // namespace tapwell::cli

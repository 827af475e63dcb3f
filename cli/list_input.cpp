// Ring: cli. See list_input.h.
#include "cli/list_input.h"

#include <CLI/CLI.hpp>

#include "cli/file_bytes.h"
#include "cli/job_runner.h"
#include "cli/notation_option.h"
#include "core/presets.h"
#include "jobs/shared_state.h"

namespace tapwell::cli {

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
        // Far beyond what the slot holds is not read: the length check refuses it.
        std::string error;
        if (!read_file_bytes(options.file, 16 * TEXT_SLOT_SIZE, list, error)) {
            print_error("list: " + error);
            return false;
        }
    } else {
        list = options.text;
    }
    if (!options.poly_notation) return true;
    if (list.size() > 16 * TEXT_SLOT_SIZE) {
        print_error(what + " is far longer than the " + std::to_string(TEXT_SLOT_SIZE - 1) +
                    " characters its entry holds; nothing was run");
        return false;
    }
    std::string converted;
    if (!window_list_text(list, *options.poly_notation, what, converted)) return false;
    list = converted;
    return true;
}

bool put_list_text(const ListOptions& options, const std::string& list) {
    const std::string what = options.from_file ? "--list " + options.file
                             : options.preset.empty() ? std::string("--list-text") : "--preset " + options.preset;
    return put_slot_text(SLOT_POLY_LIST, list, what.c_str());
}

bool put_list(const ListOptions& options) {
    std::string list;
    return read_list(options, list) && put_list_text(options, list);
}

}  // namespace tapwell::cli

// Ring: cli. See list_input.h.
#include "cli/list_input.h"

#include <CLI/CLI.hpp>

#include "cli/file_bytes.h"
#include "cli/job_runner.h"
#include "jobs/shared_state.h"

namespace tapwell::cli {

void add_list_options(CLI::App& command, ListOptions& options) {
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
    group->require_option(1);
}

bool put_list(const ListOptions& options) {
    if (!options.from_file) return put_slot_text(SLOT_POLY_LIST, options.text, "--list-text");

    // Far beyond what the slot holds is not read: the length check refuses it.
    std::string bytes, error;
    if (!read_file_bytes(options.file, 16 * TEXT_SLOT_SIZE, bytes, error)) {
        print_error("list: " + error);
        return false;
    }
    return put_slot_text(SLOT_POLY_LIST, bytes, ("--list " + options.file).c_str());
}

}  // namespace tapwell::cli

// Ring: cli. See list_input.h.
#include "cli/list_input.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/job_runner.h"
#include "jobs/shared_state.h"

namespace tapwell::cli {

namespace {

// All bytes of a stream, as they are: line ends are the parser's business.
bool read_all(std::FILE* stream, std::string& out) {
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, stream)) > 0) {
        out.append(chunk, n);
        // Far beyond what the slot holds: stop reading, the length check refuses it.
        if (out.size() > 16 * TEXT_SLOT_SIZE) break;
    }
    return !std::ferror(stream);
}

}  // namespace

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

    std::string bytes;
    if (options.file == "-") {
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        if (!read_all(stdin, bytes)) {
            print_error("cannot read the list from standard input");
            return false;
        }
    } else {
        errno = 0;
        std::FILE* f = std::fopen(options.file.c_str(), "rb");
        if (f == nullptr) {
            print_error("cannot open list file '" + options.file + "': " + std::strerror(errno));
            return false;
        }
        const bool ok = read_all(f, bytes);
        std::fclose(f);
        if (!ok) {
            print_error("cannot read list file '" + options.file + "'");
            return false;
        }
    }
    return put_slot_text(SLOT_POLY_LIST, bytes, ("--list " + options.file).c_str());
}

}  // namespace tapwell::cli

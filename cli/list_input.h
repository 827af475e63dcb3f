// Ring: cli. The polynomial list of generate and correlate: --list FILE (its
// bytes, "-" for standard input) or --list-text TEXT, put whole into
// SLOT_POLY_LIST or refused.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace tapwell::cli {

struct ListOptions {
    bool from_file = false;
    std::string file;
    std::string text;
};

// Adds --list and --list-text; exactly one of them is required.
void add_list_options(CLI::App& command, ListOptions& options);

// Reads the list and puts it into SLOT_POLY_LIST. False, after a message, when
// the file cannot be read or the list does not fit the slot.
bool put_list(const ListOptions& options);

}  // namespace tapwell::cli

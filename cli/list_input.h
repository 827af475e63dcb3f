// Ring: cli. The polynomial list of generate and correlate: --list FILE (its
// bytes, "-" for standard input), --list-text TEXT or (generate) --preset
// NAME, its polynomial lines read in --poly-notation when given, read whole
// as the window reads its list.
#pragma once

#include <optional>
#include <string>

#include "core/notation.h"

namespace CLI {
class App;
}

namespace tapwell::cli {

struct ListOptions {
    bool from_file = false;
    std::string file;
    std::string text;
    std::string preset;  // a preset's name (core/presets.h), when with_presets
    std::optional<Notation> poly_notation;
};

// Adds --list, --list-text (and --preset when with_presets), exactly one of
// them required, and --poly-notation.
void add_list_options(CLI::App& command, ListOptions& options, bool with_presets = false);

// The list as the job reads it: the file's bytes or the text, its polynomial
// lines turned into the window's text when --poly-notation was given, or the
// preset's list. False, after a message, when the file cannot be read, a
// polynomial cannot be read or is above degree 32, or there is no such preset.
bool read_list(const ListOptions& options, std::string& list);

// Whether the window could hold the list (no zero byte); false after a message.
bool accept_list_text(const ListOptions& options, const std::string& list);

}  // namespace tapwell::cli

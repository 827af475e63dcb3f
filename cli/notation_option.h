// Ring: cli. The one place that reads --notation (and options like it): the
// CLI11 option, the reading of a polynomial given in a notation with the
// error message, and the conversion to the window's text for the window's
// jobs, which take degrees 3 to 32 only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/notation.h"
#include "tapwell/sequences.hpp"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace tapwell::cli {

// Adds `flag` taking one of binary, octal, hex, koopman, decimal, algebraic.
CLI::Option* add_notation_option(CLI::App& command, const std::string& flag, std::optional<Notation>& target,
                                 const std::string& help);

// The polynomial of `text` in `notation`; false after "tapwell-cli: WHAT: reason".
bool read_polynomial_argument(std::string_view text, Notation notation, std::string_view what, PolyWord& out);

// The window's text of a polynomial given in `notation`, for a job: false,
// after a message, when it cannot be read or is above degree 32.
bool window_polynomial_text(std::string_view text, Notation notation, std::string_view what, std::string& out);

// A list of polynomial and initial-value lines (the window's line reading)
// with each polynomial line read in `notation` and written as the window's
// text; the initial-value lines stay as they are. False, after a message
// naming the line, when a line cannot be read or a polynomial is above degree 32.
bool window_list_text(std::string_view list, Notation notation, std::string_view what, std::string& out);

}  // namespace tapwell::cli

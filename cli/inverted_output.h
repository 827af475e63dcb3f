// Ring: cli. generate --invert: the inverted output of a serial run, made of
// the window's own Gold mode so that every log line is one the window writes.
// Register B is x^m + 1 (m = the degree of register A, at least the width)
// started from all ones: it only rotates its ones, so its output words are all
// ones and A XOR B is A inverted.
#pragma once

#include <string>
#include <string_view>

namespace tapwell::cli {

// The Gold list for the serial list `list` (its first polynomial and
// initial-value lines are register A). False when A's polynomial line is not
// one the window runs (degree 3 to 32): the job then refuses it as it is.
bool inverted_gold_list(std::string_view list, std::string& gold);

}  // namespace tapwell::cli

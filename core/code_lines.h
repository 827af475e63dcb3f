// Ring: core. A file of codes as text: one code a line, its chips the
// characters '0' and '1', every code of one length. Blank lines and lines
// starting with '#' are skipped; a line may end in CR LF. Anything else is
// refused in words with its line and column, counted from 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tapwell {

struct CodeLines {
    std::vector<std::uint8_t> chips;  // the codes one after another, 0 or 1
    std::size_t length = 0;           // chips of each
    std::vector<std::size_t> lines;   // the line of each code
    std::string error;                // empty when read
    bool ok() const { return error.empty(); }
};

CodeLines read_code_lines(std::string_view text);

}  // namespace tapwell

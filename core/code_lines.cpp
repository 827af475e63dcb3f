// Ring: core. See code_lines.h.
#include "core/code_lines.h"

namespace tapwell {

namespace {
std::string shown(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) return std::string("'") + c + "'";
    static const char digits[] = "0123456789ABCDEF";
    return std::string("byte 0x") + digits[byte >> 4] + digits[byte & 15];
}
}  // namespace

CodeLines read_code_lines(std::string_view text) {
    CodeLines out;
    std::size_t line = 0, first_line = 0;
    while (!text.empty()) {
        ++line;
        const std::size_t end = text.find('\n');
        std::string_view chips = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!chips.empty() && chips.back() == '\r') chips.remove_suffix(1);
        if (chips.find_first_not_of(" \t") == std::string_view::npos || chips.front() == '#') continue;
        for (std::size_t column = 0; column < chips.size(); ++column) {
            if (chips[column] != '0' && chips[column] != '1') {
                out.error = "line " + std::to_string(line) + ", column " + std::to_string(column + 1) + ": " +
                            shown(chips[column]) + " is not a chip (0 or 1)";
                return out;
            }
        }
        if (out.lines.empty()) {
            out.length = chips.size();
            first_line = line;
        } else if (chips.size() != out.length) {
            out.error = "line " + std::to_string(line) + " has " + std::to_string(chips.size()) + " chips and line " +
                        std::to_string(first_line) + " " + std::to_string(out.length) +
                        ": the codes of a file have one length";
            return out;
        }
        for (char c : chips) out.chips.push_back(static_cast<std::uint8_t>(c - '0'));
        out.lines.push_back(line);
    }
    if (out.lines.empty()) out.error = "no code in the file: one code a line, its chips 0 and 1";
    return out;
}

}  // namespace tapwell

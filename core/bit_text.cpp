// Ring: core. See bit_text.h.
#include "core/bit_text.h"

#include "core/notation.h"

namespace tapwell {

namespace {

bool is_white(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

BitReading read_bit_text(std::string_view text) {
    BitReading reading;
    reading.bits.words.reserve(text.size() / 64 + 1);
    std::size_t line = 1, line_start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '0' || c == '1') {
            reading.bits.push(c == '1');
        } else if (c == '\n') {
            ++line;
            line_start = i + 1;
        } else if (!is_white(c)) {
            reading.error = character_name(c) + " at position " + std::to_string(i + 1) + " (line " + std::to_string(line) +
                            ", column " + std::to_string(i - line_start + 1) +
                            ") is not a bit: only 0, 1 and white space are read";
            reading.bits = {};
            return reading;
        }
    }
    return reading;
}

}  // namespace tapwell

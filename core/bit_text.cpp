// Ring: core. See bit_text.h.
#include "core/bit_text.h"

namespace tapwell {

namespace {

bool is_white(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string shown(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b > 0x20 && b < 0x7F) return std::string("'") + c + "'";
    const char* hex = "0123456789abcdef";
    return std::string("byte 0x") + hex[b >> 4] + hex[b & 15];
}

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
            reading.error = shown(c) + " at position " + std::to_string(i + 1) + " (line " + std::to_string(line) +
                            ", column " + std::to_string(i - line_start + 1) +
                            ") is not a bit: only 0, 1 and white space are read";
            reading.bits = {};
            return reading;
        }
    }
    return reading;
}

}  // namespace tapwell

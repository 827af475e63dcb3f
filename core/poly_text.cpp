// Ring: core. See poly_text.h.
#include "core/poly_text.h"

#include <bit>
#include <cstring>

namespace tapwell {

namespace {

// Reads '0'/'1' digits most significant first; false on any other character.
bool read_digits(std::string_view digits, std::uint32_t& value) {
    std::uint32_t v = 0;
    for (char c : digits) {
        if (c != '0' && c != '1') return false;
        v = (v << 1) | static_cast<std::uint32_t>(c - '0');
    }
    value = v;
    return true;
}

}  // namespace

std::uint32_t parse_polynomial(std::string_view text) {
    if (text.size() < 4 || text.size() > 33) return 0;
    std::uint32_t v = 0;
    if (!read_digits(text.substr(0, text.size() - 1), v)) return 0;
    return text.back() == '1' ? v : 0;
}

std::uint32_t parse_binary_value(std::string_view text) {
    if (text.size() > 32) return 0;
    std::uint32_t v = 0;
    return read_digits(text, v) ? v : 0;
}

std::uint32_t parse_polynomial(const char* text) {
    // strnlen keeps a huge untrusted text from being scanned to its end.
    return parse_polynomial(std::string_view(text, strnlen(text, 34)));
}

std::uint32_t parse_binary_value(const char* text) {
    return parse_binary_value(std::string_view(text, strnlen(text, 33)));
}

BinaryText format_binary(std::uint32_t value) {
    BinaryText out{};
    int n = bit_length(value);
    for (int i = 0; i < n; ++i) out.text[i] = ((value >> (n - 1 - i)) & 1u) ? '1' : '0';
    out.text[n] = '\0';
    out.length = static_cast<std::uint8_t>(n);
    return out;
}

int bit_length(std::uint32_t value) { return std::bit_width(value); }

}  // namespace tapwell

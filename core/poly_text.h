// Ring: core. Text form of GF(2) polynomials and register values.
// Pure functions over plain words: no state, no I/O, safe from any thread.
#pragma once

#include <cstdint>
#include <string_view>

namespace tapwell {

// Binary text of a word: at most 32 digits and a terminating zero, owned by
// the caller so that two threads may format at the same moment.
struct BinaryText {
    char text[33];
    std::uint8_t length;

    const char* c_str() const { return text; }
    std::string_view view() const { return {text, length}; }
};

// PolyWord value of a text of 4..33 characters '0'/'1' whose last one is
// '1': the bits of x^n..x^1, the constant term not stored. 0 when rejected.
std::uint32_t parse_polynomial(const char* text);

// Register value of a text of 0..32 characters '0'/'1'; 0 when rejected.
std::uint32_t parse_binary_value(const char* text);

// The same two readings for a line that is not zero-terminated.
std::uint32_t parse_polynomial(std::string_view text);
std::uint32_t parse_binary_value(std::string_view text);

// Bits from the highest set one down to bit 0; the word 0 gives "".
BinaryText format_binary(std::uint32_t value);

// Position of the highest set bit plus one; 0 for 0. The degree of a
// polynomial value.
int bit_length(std::uint32_t value);

}  // namespace tapwell

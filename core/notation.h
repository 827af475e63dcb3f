// Ring: core. The notations of a polynomial, each defined against the window's
// text ("10011" is x^4 + x + 1, the characteristic polynomial of the output of
// the window's register). The one place that reads and writes them; pure.
//
//   binary     the window's text: coefficients from x^n down to the constant 1
//   octal      the whole coefficient word in octal (x^10 + x^3 + 1 is 2011)
//   hex        the whole coefficient word in hex (0x409)
//   koopman    the word without its constant term, shifted right one (0x204):
//              the window's polynomial value
//   decimal    the whole coefficient word as an integer (1033)
//   algebraic  x^10 + x^3 + 1 (reads x or X, spaces anywhere, terms in any order)
//
// Every reader takes polynomials of degree 1 to 64 with constant term 1 and
// refuses anything else with a message in words that names the offending
// character and its position (counted from 1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/poly_word.h"
#include "tapwell/polynomial.hpp"

namespace tapwell {

constexpr Notation ALL_NOTATIONS[] = {Notation::binary,  Notation::octal,   Notation::hex,
                                      Notation::koopman, Notation::decimal, Notation::algebraic};

// notation_name is the public one (tapwell/polynomial.hpp); this one answers
// an unknown name with nothing rather than an exception.
std::optional<Notation> find_notation(std::string_view name);

struct NotationReading {
    PolyWord poly;
    std::string error;  // empty when read
    // The position of the character the error names, from 1; 0 when it
    // speaks of the text as a whole (empty, too long, not a register's).
    std::size_t position = 0;
    bool ok() const { return error.empty(); }
};

NotationReading read_notation(std::string_view text, Notation notation);

// The polynomial of a whole coefficient word (bit k of lo, or of hi for
// k >= 64, is the coefficient of x^k), or why it is none: every numeric
// notation but Koopman's ends here.
NotationReading read_coefficient_word(std::uint64_t lo, std::uint64_t hi);
std::string write_notation(PolyWord p, Notation notation);

// A character as the readers' messages name it: 'c', "a space" or "byte 0x07".
std::string character_name(char c);

// x^n P(1/x): the coefficients in the opposite order.
PolyWord reciprocal(PolyWord p);

// The binary (window's) and algebraic texts of a polynomial of any degree,
// from its coefficient word (bit k = coefficient of x^k; `degree` + 1 bits).
std::string binary_text(const std::vector<std::uint64_t>& word, std::size_t degree);
std::string algebraic_text(const std::vector<std::uint64_t>& word, std::size_t degree);

}  // namespace tapwell

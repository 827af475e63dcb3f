// tapwell: a polynomial over GF(2) of degree 1 to 64 with constant term 1, the
// polynomial of a shift register, and its notations.
//
// The reference notation is the window's text: "10011" is x^4 + x + 1, the
// coefficients from x^n down to the constant term, the characteristic
// polynomial of the register's output sequence. Every other notation is
// defined against it:
//
//   binary     10011               the window's text
//   octal      23                  the whole coefficient word in octal
//   hex        0x13                the whole coefficient word in hex
//   koopman    0x9                 the word without its constant term, shifted
//                                  right one (what value() returns)
//   decimal    19                  the whole coefficient word as an integer
//   algebraic  x^4 + x + 1         reads x or X, spaces anywhere, any order
//
// The "coefficient word" has bit k = coefficient of x^k.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tapwell/export.hpp"

namespace tapwell {

enum class Notation { binary, octal, hex, koopman, decimal, algebraic };

// The degrees of the window's registers, searches and correlations, which
// run on 32-bit words; the questions about one polynomial go to 64.
inline constexpr int WINDOW_MIN_DEGREE = 3;
inline constexpr int WINDOW_MAX_DEGREE = 32;

// "binary", "octal", "hex", "koopman", "decimal", "algebraic".
TAPWELL_API const char* notation_name(Notation notation) noexcept;
// The notation of that name; throws InvalidArgument for any other name.
TAPWELL_API Notation notation_named(std::string_view name);

struct Factor;

class TAPWELL_API Polynomial {
public:
    static constexpr int max_degree = 64;

    // The polynomial 1 (degree 0), which is no register's: a placeholder. It
    // is not irreducible, x has order 1 modulo it, it has no factors, and
    // its text ("1") does not parse back.
    constexpr Polynomial() = default;

    // Reads text in the given notation. Throws ParseError (naming the
    // character and its position) for a text that is not a polynomial of
    // degree 1 to 64 with constant term 1.
    static Polynomial parse(std::string_view text, Notation notation = Notation::binary);
    // The polynomial whose koopman value (bits of x^n .. x^1; bit k - 1 is the
    // coefficient of x^k) is `value`; its degree is the highest bit set.
    // Throws InvalidArgument for 0.
    static Polynomial from_value(std::uint64_t value);
    // The polynomial of a coefficient word (bit k = coefficient of x^k), of
    // degree 1 to 63. Throws InvalidArgument when bit 0 is clear or the word is 1.
    static Polynomial from_coefficients(std::uint64_t word);

    // The text in the given notation, as parse reads it back.
    std::string format(Notation notation = Notation::binary) const;

    constexpr int degree() const noexcept { return degree_; }
    // The number of terms, the constant term among them.
    int weight() const noexcept;
    // Coefficient of x^k; false above the degree.
    constexpr bool coefficient(int k) const noexcept {
        return k == 0 || (k >= 1 && k <= degree_ && (value_ >> (k - 1) & 1u) != 0);
    }
    // Bits of x^degree .. x^1 (the koopman notation's number).
    constexpr std::uint64_t value() const noexcept { return value_; }

    bool is_irreducible() const;
    bool is_primitive() const;
    // The order of x modulo the polynomial: the period of the register's
    // sequence from state 1 (2^n - 1 exactly when primitive).
    std::uint64_t order() const;
    // The irreducible factors with their multiplicities, in increasing order
    // of degree, then of value; their product is this polynomial.
    std::vector<Factor> factors() const;
    // x^n P(1/x): the coefficients in the opposite order. The reciprocal of the
    // characteristic polynomial is the register's connection polynomial.
    Polynomial reciprocal() const;

    friend constexpr bool operator==(const Polynomial&, const Polynomial&) = default;
    // Degree first, then value: the window's order within a degree.
    friend constexpr bool operator<(const Polynomial& a, const Polynomial& b) noexcept {
        return a.degree_ != b.degree_ ? a.degree_ < b.degree_ : a.value_ < b.value_;
    }

private:
    constexpr Polynomial(std::uint64_t value, int degree) : value_(value), degree_(degree) {}
    std::uint64_t value_ = 0;
    int degree_ = 0;
};

struct Factor {
    Polynomial polynomial;  // irreducible
    int multiplicity = 1;
};

}  // namespace tapwell

template <>
struct std::hash<tapwell::Polynomial> {
    std::size_t operator()(const tapwell::Polynomial& p) const noexcept {
        return std::hash<std::uint64_t>{}(p.value());
    }
};

// Ring: core. A polynomial over GF(2) held as the window holds it: the bits of
// x^n .. x^1 (bit n - 1 = x^n, bit 0 = x^1), the constant term 1 not stored.
// One 64-bit word holds every such polynomial of degree 1 to 64. Plain values,
// no state.
#pragma once

#include <bit>
#include <cstdint>

namespace tapwell {

// The highest degree of the questions about one polynomial.
constexpr int MAX_POLYNOMIAL_DEGREE = 64;

struct PolyWord {
    std::uint64_t value = 0;  // bits of x^degree .. x^1
    int degree = 0;           // 0 stands for the polynomial 1

    friend bool operator==(const PolyWord&, const PolyWord&) = default;
};

// The polynomial whose value is `value`: its degree is the highest set bit.
constexpr PolyWord polynomial_of(std::uint64_t value) { return {value, static_cast<int>(std::bit_width(value))}; }

// Coefficient of x^k, 0 <= k <= degree; the constant term is always 1.
constexpr bool coefficient(PolyWord p, int k) { return k == 0 || (p.value >> (k - 1) & 1u) != 0; }

// The whole coefficient word (bit k = coefficient of x^k) of a polynomial of
// degree at most 63.
constexpr std::uint64_t coefficient_word(PolyWord p) { return (p.value << 1) | 1u; }

// The polynomial of a coefficient word whose constant term is 1.
constexpr PolyWord from_coefficient_word(std::uint64_t word) {
    return {word >> 1, static_cast<int>(std::bit_width(word)) - 1};
}

// The window's register word of taps (bit k = coefficient of x^k, k < degree)
// and its top stage, in 64 bits.
constexpr std::uint64_t top_of(PolyWord p) { return std::uint64_t{1} << (p.degree - 1); }

}  // namespace tapwell

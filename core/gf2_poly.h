// Ring: core. Plain arithmetic on GF(2) polynomials, without a modulus: words
// as coefficient words (bit k = coefficient of x^k, degree at most 63) and the
// PolyWord of degree up to 64 (core/poly_word.h). Pure functions.
#pragma once

#include <cstdint>

#include "core/poly_word.h"

namespace tapwell::gf2 {

// Degree of a coefficient word; -1 for the zero polynomial.
constexpr int degree_of(std::uint64_t word) { return static_cast<int>(std::bit_width(word)) - 1; }

// a mod b for coefficient words, b != 0.
std::uint64_t remainder(std::uint64_t a, std::uint64_t b);

// f mod b, b != 0 of degree at most 63.
std::uint64_t remainder(PolyWord f, std::uint64_t b);

// gcd(f, w) for a coefficient word w of degree below f's; f itself when w is 0.
// Every divisor of f has the constant term 1, so the gcd is a PolyWord.
PolyWord gcd(PolyWord f, std::uint64_t w);

// Whether g divides f.
bool divides(PolyWord g, PolyWord f);

// f / g for a divisor g of f.
PolyWord quotient(PolyWord f, PolyWord g);

// a * b; the degrees add up to at most 64.
PolyWord product(PolyWord a, PolyWord b);

}  // namespace tapwell::gf2

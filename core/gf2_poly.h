// Ring: core. Plain arithmetic on GF(2) polynomials, without a modulus: words
// as coefficient words (bit k = coefficient of x^k, degree at most 63) and the
// Polynomial of degree up to 64 (core/polynomial.h). Pure functions.
#pragma once

#include <cstdint>

#include "core/polynomial.h"

namespace tapwell::gf2 {

// Degree of a coefficient word; -1 for the zero polynomial.
constexpr int degree_of(std::uint64_t word) { return static_cast<int>(std::bit_width(word)) - 1; }

// a mod b for coefficient words, b != 0.
std::uint64_t remainder(std::uint64_t a, std::uint64_t b);

// f mod b, b != 0 of degree at most 63.
std::uint64_t remainder(Polynomial f, std::uint64_t b);

// gcd(f, w) for a coefficient word w of degree below f's; f itself when w is 0.
// Every divisor of f has the constant term 1, so the gcd is a Polynomial.
Polynomial gcd(Polynomial f, std::uint64_t w);

// Whether g divides f.
bool divides(Polynomial g, Polynomial f);

// f / g for a divisor g of f.
Polynomial quotient(Polynomial f, Polynomial g);

// a * b; the degrees add up to at most 64.
Polynomial product(Polynomial a, Polynomial b);

}  // namespace tapwell::gf2

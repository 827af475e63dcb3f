// Ring: library. Between the public Polynomial and the one-word PolyWord the
// kernels of core take: the same bits (x^n .. x^1, constant term implied).
#pragma once

#include "core/poly_word.h"
#include "tapwell/polynomial.hpp"

namespace tapwell {

inline PolyWord word_of(const Polynomial& p) { return {p.value(), p.degree()}; }

// A PolyWord of degree 1 to 64 (value non-zero) as the public value.
inline Polynomial polynomial_of_word(PolyWord w) { return Polynomial::from_value(w.value); }

}  // namespace tapwell

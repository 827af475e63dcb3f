// Ring: core. A Fibonacci register k clocks ahead in about 2 log2(k)
// products modulo its polynomial, for any k below 2^64: a family member
// shifted by k, or a code read from its k-th chip, is set up without
// stepping k times. Uses core/shift_register.h's step rule and
// core/gf2_mulmod.h's arithmetic; pure.
#pragma once

#include <cstdint>

#include "core/poly_word.h"

namespace tapwell {

// x^k mod p, as a coefficient word below x^n (bit i = coefficient of x^i).
// p of degree 1 to 64 with its constant term.
std::uint64_t x_power_mod(PolyWord p, std::uint64_t k);

// The state of the register of p (register_step64 with taps_of64) k clocks
// after `state`. p of degree 1 to 64; `state` below 2^n.
std::uint64_t register_jump64(PolyWord p, std::uint64_t state, std::uint64_t k);

}  // namespace tapwell

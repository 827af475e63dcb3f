// Ring: core. The two forms of one register side by side: the bits a state
// puts out, and the state of either form that puts out given bits. A
// Fibonacci state is its next n bits; a Galois one is found from them, so
// that anything defined by a register's output (a standard's stage drawing,
// a conversion between forms) comes to a state in one way. Pure functions.
#pragma once

#include <cstdint>

#include "tapwell/sequences.hpp"

namespace tapwell {

// Bits 0 .. count - 1 (count <= 64): the first output bits of the register of
// degree n with these taps in `form` from `state` (core/shift_register.h).
std::uint64_t first_output_bits(std::uint64_t taps, int n, RegisterForm form, std::uint64_t state, int count);

// The state of `form` whose first n output bits are `bits` (bit 0 first).
std::uint64_t state_putting_out(std::uint64_t taps, int n, RegisterForm form, std::uint64_t bits);

}  // namespace tapwell

// Ring: core. A register stepped W times as one linear map over GF(2): every
// bit it puts out in those W steps, and every stage of its state after them,
// is the XOR of some stages of its present state. Hardware that moves W bits
// a clock, and software that writes a stream a word at a time, both start
// from these masks. Pure functions; nothing is kept.
#pragma once

#include <cstdint>
#include <vector>

#include "tapwell/sequences.hpp"

namespace tapwell {

struct StepMatrix {
    int degree = 0;  // n, 1 to 64: every mask has bits 0 .. n - 1 only
    int width = 0;   // W, the steps taken
    // output[t]: the stages of the present state whose XOR is the bit put out
    // at step t (t = 0 is the bit put out first, bit 0 of the present state).
    std::vector<std::uint64_t> output;
    // next[i]: the stages of the present state whose XOR is stage i after W steps.
    std::vector<std::uint64_t> next;
};

// The map of W >= 1 steps of the register of degree n whose one step is
// register_step64 with these taps (Fibonacci) or galois_step64 with the
// mask galois_mask_of(taps, n) (Galois): core/shift_register.h's rules,
// applied to each stage alone.
StepMatrix step_matrix(std::uint64_t taps, int n, RegisterForm form, int width);

// The XOR of the stages of `state` that `mask` selects.
constexpr std::uint64_t masked_parity(std::uint64_t state, std::uint64_t mask) {
    return static_cast<std::uint64_t>(__builtin_parityll(state & mask));
}

}  // namespace tapwell

// tapwell: the shortest register that produces a bit sequence (Berlekamp-Massey).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "tapwell/export.hpp"
#include "tapwell/polynomial.hpp"
#include "tapwell/run_options.hpp"

namespace tapwell {

struct Recurrence {
    // L: the length of the shortest register.
    std::size_t linear_complexity = 0;
    // Its characteristic polynomial in the window's text (and algebraic), of
    // any degree L; "1" for a sequence of zeros.
    std::string polynomial_text;
    std::string algebraic_text;
    // The same as a Polynomial when a register can hold it: 1 <= L <= 64 and
    // the constant term is 1 (otherwise x divides it).
    std::optional<Polynomial> polynomial;
    // The state (bit 0 output first) from which that register reproduces the
    // input, when L <= 64 and there is a register.
    std::optional<std::uint64_t> initial_state;
    // At least 2L bits: no other register of length L produces them.
    bool unique = false;
};

// The bits are bytes of 0 and 1 (anything non-zero is 1).
TAPWELL_API Recurrence berlekamp_massey(std::span<const std::uint8_t> bits);
// The same, giving up (Stopped) when the options' stop token asks: the work
// grows as the square of the length.
TAPWELL_API Recurrence berlekamp_massey(std::span<const std::uint8_t> bits, const RunOptions& options);

}  // namespace tapwell

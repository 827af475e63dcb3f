// Ring: tests. The straightforward computations the fast kernels are checked
// against: two registers stepped phase by phase, one bit at a time.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

#include "core/all_phase_correlation.h"
#include "core/decimation.h"
#include "core/shift_register.h"

namespace tapwell::reference {

inline std::uint32_t step(std::uint32_t state, std::uint32_t taps, int n) {
    return (state >> 1) | (static_cast<std::uint32_t>(std::popcount(taps & state) & 1) << (n - 1));
}

// r of one phase: A from state 1, B from `start`, 2^n - 1 steps.
inline std::int64_t phase(int n, std::uint32_t ta, std::uint32_t tb, std::uint32_t start) {
    const std::uint32_t period = static_cast<std::uint32_t>((std::uint64_t{1} << n) - 1);
    std::uint32_t a = 1, b = start;
    std::int64_t sum = 0;
    for (std::uint32_t k = 0; k < period; ++k) {
        sum += ((a ^ b) & 1u) ? -1 : 1;
        a = step(a, ta, n);
        b = step(b, tb, n);
    }
    return sum;
}

// r for every start state 1..2^n - 1 of register B (index s - 1).
inline std::vector<std::int64_t> all_phases(int n, std::uint32_t ga, std::uint32_t gb) {
    const std::uint32_t period = static_cast<std::uint32_t>((std::uint64_t{1} << n) - 1);
    std::vector<std::int64_t> r(period);
    for (std::uint32_t s = 1; s <= period; ++s) r[s - 1] = phase(n, taps_of(ga, 1u << (n - 1)), taps_of(gb, 1u << (n - 1)), s);
    return r;
}

// Every phase until the first value outside -1, t - 2, -t.
inline bool preferred(std::uint32_t ga, std::uint32_t gb, int n) {
    const std::uint32_t period = (1u << n) - 1u;
    const std::int64_t t = preferred_t(n);
    for (std::uint32_t p = 1; p <= period; ++p) {
        const std::int64_t r = phase(n, taps_of(ga, 1u << (n - 1)), taps_of(gb, 1u << (n - 1)), p);
        if (r != -1 && r != t - 2 && r != -t) return false;
    }
    return true;
}

}  // namespace tapwell::reference

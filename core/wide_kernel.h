// Ring: core. The arithmetic of gf2_wide.h as templates over the multiplier.
// Included only by the two translation units that instantiate it, each with
// its own instruction set (like order_kernel.h).
#pragma once

#include <bit>
#include <cstdint>

#include "core/gf2_mulmod.h"
#include "core/gf2_wide.h"

namespace tapwell::detail {

template <typename Mul>
std::uint64_t wide_multiply(const gf2::WideModulus& m, std::uint64_t a, std::uint64_t b) {
    return gf2::mulmod_wide<Mul>(m, a, b);
}

// Left to right: one squaring per bit of e, one product per set bit.
template <typename Mul>
std::uint64_t wide_power(const gf2::WideModulus& m, std::uint64_t a, std::uint64_t e) {
    std::uint64_t r = 1;
    for (int bit = std::bit_width(e) - 1; bit >= 0; --bit) {
        r = gf2::mulmod_wide<Mul>(m, r, r);
        if (e >> bit & 1u) r = gf2::mulmod_wide<Mul>(m, r, a);
    }
    return r & m.mask;
}

template <typename Mul>
std::uint64_t wide_square_times(const gf2::WideModulus& m, std::uint64_t a, int k) {
    for (int i = 0; i < k; ++i) a = gf2::mulmod_wide<Mul>(m, a, a);
    return a;
}

template <typename Mul>
constexpr WideArithmetic wide_arithmetic_of() {
    return {wide_multiply<Mul>, wide_power<Mul>, wide_square_times<Mul>};
}

}  // namespace tapwell::detail

// Ring: core. 2^n - 1: the period of a register of degree n, and the mask of
// its n low bits. The one place it is written.
#pragma once

#include <cstdint>

namespace tapwell {

// 2^n - 1 for 1 <= n <= 64.
constexpr std::uint64_t mersenne(int n) { return ~std::uint64_t{0} >> (64 - n); }

}  // namespace tapwell

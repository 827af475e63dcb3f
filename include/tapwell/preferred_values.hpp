// tapwell: the three values of a preferred pair of degree n: the periodic
// cross-correlation of two M-sequences of degree n takes only -1, -t(n) and
// t(n) - 2 at every phase exactly when they are a preferred pair.
#pragma once

#include <cstdint>

namespace tapwell {

// t(n) = 2^((n+1)/2) + 1 for odd n, 2^(n/2+1) + 1 for even n; n from 1 to 64.
constexpr std::int64_t preferred_t(int n) noexcept {
    const int exponent = (n % 2 != 0) ? (n + 1) / 2 : n / 2 + 1;
    return (std::int64_t{1} << exponent) + 1;
}

struct PreferredValues {
    std::int64_t t;
    // Whether r is -1, t - 2 or -t.
    constexpr bool contains(std::int64_t r) const noexcept { return r == -1 || r == t - 2 || r == -t; }
};

constexpr PreferredValues preferred_values(int n) noexcept { return {preferred_t(n)}; }

}  // namespace tapwell

// Ring: core. The three correlation values of a preferred pair of degree n:
// -1, t(n) - 2 and -t(n). The job, the decimation test and the benchmark's
// stepping method all take t from here.
#pragma once

#include <cstdint>

namespace tapwell {

// t(n): 2^((n+1)/2) + 1 for odd n, 2^(n/2+1) + 1 for even n.
constexpr std::int64_t preferred_t(int n) {
    const int exponent = (n % 2 != 0) ? (n + 1) / 2 : n / 2 + 1;
    return (std::int64_t{1} << exponent) + 1;
}

}  // namespace tapwell

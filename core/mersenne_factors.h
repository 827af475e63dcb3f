// Ring: core. The prime factors of 2^n - 1 for n = 1..64: the one table the
// primitivity kernels and the order of x use. Plain data, no state.
#pragma once

#include <cstdint>

namespace tapwell {

struct PrimePower {
    std::uint64_t prime;
    int exponent;
};

struct MersenneFactors {
    int n;
    PrimePower factors[11];  // in increasing order; unused entries are {0, 0}

    int count() const {
        int c = 0;
        while (c < 11 && factors[c].prime != 0) ++c;
        return c;
    }
};

// 2^n - 1 = product of factors[i].prime ^ factors[i].exponent; 1 <= n <= 64.
const MersenneFactors& mersenne_factors(int n);

}  // namespace tapwell

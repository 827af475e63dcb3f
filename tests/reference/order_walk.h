// Ring: tests. The order test of a polynomial: walk the powers of x modulo P
// until they return to 1. P is primitive exactly when that takes 2^n - 1 steps.
// The walk can be run in slices, so that a caller may check for a stop request
// between them; it stays a pure computation on plain words. The product uses
// the fast test (core/primitivity.h); this walk is the reference the tests
// and the benchmarks hold it against.
#pragma once

#include <cstdint>

namespace tapwell {

struct OrderWalk {
    std::uint32_t g;      // polynomial value: (P - 1) / x, the inverse of x
    std::uint32_t top;    // bit n - 1: x^(n-1) as a remainder
    std::uint32_t h;      // x^(i-1) mod P
    std::uint32_t i;      // the exponent under test
    std::uint32_t bound;  // 2^n - 1
    bool done;
    bool primitive;       // meaningful once done
};

// g of degree n, 3 <= n <= 32.
OrderWalk order_walk_begin(std::uint32_t g, int n);
// Makes at most max_steps steps; sets done (and primitive) when the walk ends.
void order_walk_run(OrderWalk& walk, std::uint32_t max_steps);

// The whole walk: true when the order of x modulo P is 2^n - 1.
bool is_primitive(std::uint32_t g, int n);

}  // namespace tapwell

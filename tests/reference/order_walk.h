// Ring: tests. The order test of a polynomial by walking the powers of x modulo
// P until they return to 1: P is primitive exactly when that takes 2^n - 1
// steps. The product uses the fast test (core/primitivity.h); this walk is the
// reference the tests and the benchmarks hold it against.
#pragma once

#include <cstdint>

namespace tapwell::reference {

// g of degree n, 3 <= n <= 32.
bool is_primitive(std::uint32_t g, int n);

}  // namespace tapwell::reference

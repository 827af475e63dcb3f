// Ring: tests. See order_walk.h.
#include "tests/reference/order_walk.h"

namespace tapwell::reference {

bool is_primitive(std::uint32_t g, int n) {
    // g is (P - 1) / x, the inverse of x; h holds x^(i-1) mod P in n bits.
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t bound = 2u * top - 1u;
    std::uint32_t h = top;
    for (std::uint32_t i = static_cast<std::uint32_t>(n);; ++i) {
        if (h & top) {
            // x^i = 1. Since x is invertible modulo P this happens by i = bound.
            if (h == g) return i == bound;
            h = ((g ^ h) << 1) + 1;
        } else {
            h <<= 1;
        }
    }
}

}  // namespace tapwell::reference

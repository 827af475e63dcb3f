// Ring: tests. See order_walk.h.
#include "tests/reference/order_walk.h"

namespace tapwell {

OrderWalk order_walk_begin(std::uint32_t g, int n) {
    OrderWalk w{};
    w.g = g;
    w.top = 1u << (n - 1);
    w.h = w.top;
    w.i = static_cast<std::uint32_t>(n);
    w.bound = 2u * w.top - 1u;
    return w;
}

void order_walk_run(OrderWalk& walk, std::uint32_t max_steps) {
    const std::uint32_t g = walk.g;
    const std::uint32_t top = walk.top;
    std::uint32_t h = walk.h;
    std::uint32_t i = walk.i;
    for (std::uint32_t step = 0; step < max_steps; ++step) {
        if (h & top) {
            if (h == g) {
                // x^i = 1. Since x is invertible modulo P this happens by i = bound.
                walk.done = true;
                walk.primitive = (i == walk.bound);
                break;
            }
            h = ((g ^ h) << 1) + 1;
        } else {
            h <<= 1;
        }
        ++i;
    }
    walk.h = h;
    walk.i = i;
}

bool is_primitive(std::uint32_t g, int n) {
    OrderWalk walk = order_walk_begin(g, n);
    while (!walk.done) order_walk_run(walk, 0xFFFFFFFFu);
    return walk.primitive;
}

}  // namespace tapwell

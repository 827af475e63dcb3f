// Ring: tests. The order test against what GF(2) arithmetic says.
#include <gtest/gtest.h>

#include <numeric>

#include "tests/reference/order_walk.h"

namespace tapwell {
namespace {

// Euler's totient, by trial division.
std::uint64_t totient(std::uint64_t m) {
    std::uint64_t result = m;
    for (std::uint64_t p = 2; p * p <= m; ++p) {
        if (m % p != 0) continue;
        while (m % p == 0) m /= p;
        result -= result / p;
    }
    if (m > 1) result -= result / m;
    return result;
}

TEST(OrderWalk, WorkedExamples) {
    EXPECT_TRUE(is_primitive(0b1001, 4));   // x^4 + x + 1
    EXPECT_TRUE(is_primitive(0b1100, 4));   // x^4 + x^3 + 1
    EXPECT_FALSE(is_primitive(0b1111, 4));  // x^4 + x^3 + x^2 + x + 1 has order 5
    EXPECT_FALSE(is_primitive(0b1000, 4));  // x^4 + 1
    EXPECT_TRUE(is_primitive(0b101, 3));
}

TEST(OrderWalk, CountsPerDegreeAreTotientOverN) {
    for (int n = 3; n <= 14; ++n) {
        std::uint32_t e = 1u << (n - 1);
        std::uint64_t count = 0;
        for (std::uint32_t s = 1; s < e; ++s) count += is_primitive(e + s, n);
        EXPECT_EQ(count, totient((1ull << n) - 1) / n) << "degree " << n;
    }
}

TEST(OrderWalk, SlicesGiveTheSameVerdict) {
    for (std::uint32_t g = 0x100; g < 0x200; ++g) {
        OrderWalk w = order_walk_begin(g, 9);
        while (!w.done) order_walk_run(w, 7);
        EXPECT_EQ(w.primitive, is_primitive(g, 9)) << g;
    }
}

TEST(OrderWalk, DegreeThirtyTwoBoundsDoNotOverflow) {
    OrderWalk w = order_walk_begin(0x80000000u + 0x57u, 32);
    EXPECT_EQ(w.bound, 4294967295u);
    EXPECT_EQ(w.top, 0x80000000u);
    // x^32 + 1 (g = top) has order 32: the walk ends at once by its test.
    EXPECT_FALSE(is_primitive(0x80000000u, 32));
}

}  // namespace
}  // namespace tapwell

// Ring: tests. The reference order walk against what GF(2) arithmetic says.
#include <gtest/gtest.h>

#include "tests/reference/helpers.h"
#include "tests/reference/order_walk.h"

namespace tapwell {
namespace {

using reference::is_primitive;

TEST(OrderWalk, WorkedExamples) {
    EXPECT_TRUE(is_primitive(0b1001, 4));   // x^4 + x + 1
    EXPECT_TRUE(is_primitive(0b1100, 4));   // x^4 + x^3 + 1
    EXPECT_FALSE(is_primitive(0b1111, 4));  // x^4 + x^3 + x^2 + x + 1 has order 5
    EXPECT_FALSE(is_primitive(0b1000, 4));  // x^4 + 1
    EXPECT_TRUE(is_primitive(0b101, 3));
    // x^32 + 1 has order 32: the walk ends at once by its test, never past 2^32 - 1.
    EXPECT_FALSE(is_primitive(0x80000000u, 32));
}

TEST(OrderWalk, CountsPerDegreeAreTotientOverN) {
    for (int n = 3; n <= 14; ++n) {
        std::uint32_t e = 1u << (n - 1);
        std::uint64_t count = 0;
        for (std::uint32_t s = 1; s < e; ++s) count += is_primitive(e + s, n);
        EXPECT_EQ(count, testing::totient((1ull << n) - 1) / n) << "degree " << n;
    }
}

}  // namespace
}  // namespace tapwell

// Ring: tests. The one reading of typed numbers.
#include <gtest/gtest.h>

#include "jobs/leading_integer.h"

namespace tapwell {
namespace {

TEST(LeadingInteger, Readings) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"", 0},
        {"abc", 0},
        {"  \t\n42", 42},
        {"+7x", 7},
        {"-1", -1},
        {"12 34", 12},
        {"- 5", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999999999999999999", 2147483647},
        {"-2147483648", INT32_MIN},
        {"-99999999999", INT32_MIN},
        {"0000000000000000000000000012", 12},
        {"\xe3\x81\x82" "5", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(leading_integer(c.text), c.value) << c.text;
}

TEST(LeadingInteger, NegativeCountsCompareAsLargeUnsigned) {
    EXPECT_EQ(static_cast<std::uint32_t>(leading_integer("-1")), 4294967295u);
}

}  // namespace
}  // namespace tapwell

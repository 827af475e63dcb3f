// Ring: tests. Preferred pairs by decimation against stepping every phase of
// the pair with the early exit, as the literal search does.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

#include "core/all_phase_correlation.h"
#include "core/decimation.h"
#include "tests/reference/order_walk.h"
#include "core/shift_register.h"
#include "tests/reference/stepping.h"

namespace tapwell {
namespace {

std::vector<std::uint32_t> primitives(int n) {
    std::vector<std::uint32_t> list;
    for (std::uint32_t g = 1u << (n - 1); g < (2u << (n - 1)); ++g) {
        if (reference::is_primitive(g, n)) list.push_back(g);
    }
    return list;
}

TEST(Decimation, TheReferenceIsItsOwnFirstDecimation) {
    for (int n = 3; n <= 11; ++n) {
        const std::uint32_t g = primitives(n).back();
        ReferenceSequence u;
        ASSERT_TRUE(make_reference(u, g, n));
        EXPECT_EQ(decimation_polynomial(u, 1), g) << n;
        EXPECT_EQ(decimation_polynomial(u, 2), g) << n;
    }
    EXPECT_EQ(coset_leader(0b1100, 4), 0b0011u);
    EXPECT_EQ(preferred_t(3), 5);
    EXPECT_EQ(preferred_t(4), 9);
    EXPECT_EQ(preferred_t(7), 17);
}

// Every pair of the full list of each degree 3 to 9, in list order.
TEST(Decimation, EveryPairUpToDegree9) {
    const int expected_found[] = {1, 0, 12, 6, 90, 0, -1};  // degree 3..9 (-1: not given)
    for (int n = 3; n <= 9; ++n) {
        const auto list = primitives(n);
        PairClassifier c;
        ASSERT_TRUE(prepare_pair_classifier(c, list.data(), list.size(), n));
        int found = 0;
        for (std::size_t i = 0; i + 1 < list.size(); ++i) {
            ASSERT_NE(c.decimation[i], 0u);
            for (std::size_t j = i + 1; j < list.size(); ++j) {
                const PairVerdict v = classify_pair(c, i, j);
                const bool expected = reference::preferred(list[i], list[j], n);
                ASSERT_EQ(v, expected ? PairVerdict::preferred : PairVerdict::not_preferred)
                    << n << " " << list[i] << " " << list[j];
                found += expected;
            }
        }
        if (expected_found[n - 3] >= 0) {
            EXPECT_EQ(found, expected_found[n - 3]) << n;
        }
    }
}

// Above: random pairs of the full lists of degrees 10 to 13.
TEST(Decimation, RandomPairsUpToDegree13) {
    std::mt19937 rng(17);
    for (int n = 10; n <= 13; ++n) {
        const auto list = primitives(n);
        PairClassifier c;
        ASSERT_TRUE(prepare_pair_classifier(c, list.data(), list.size(), n));
        for (std::size_t k = 0; k < list.size(); ++k) ASSERT_NE(c.decimation[k], 0u) << n << " " << k;
        for (int trial = 0; trial < 12; ++trial) {
            const std::size_t i = rng() % list.size(), j = rng() % list.size();
            if (i == j) continue;
            const bool expected = reference::preferred(list[i], list[j], n);
            EXPECT_EQ(classify_pair(c, i, j), expected ? PairVerdict::preferred : PairVerdict::not_preferred)
                << n << " " << list[i] << " " << list[j];
        }
    }
}

// Entries that are not primitive of the degree are left to stepping, and a
// list without any primitive entry leaves every pair to it.
TEST(Decimation, EntriesThatAreNotPrimitiveAreUnknown) {
    // 100101, 111111 (even weight), 101001 (the reverse of the first), 1001
    // (degree 3), 100101 again, 101111.
    const std::uint32_t list[] = {0b10010, 0b11111, 0b10100, 0b100, 0b10010, 0b10111};
    PairClassifier c;
    ASSERT_TRUE(prepare_pair_classifier(c, list, 6, 5));
    const bool usable[] = {true, false, true, false, true, true};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(c.decimation[k] != 0, usable[k]) << k;
    EXPECT_EQ(classify_pair(c, 0, 1), PairVerdict::unknown);
    EXPECT_EQ(classify_pair(c, 3, 5), PairVerdict::unknown);
    EXPECT_EQ(classify_pair(c, 0, 2), PairVerdict::not_preferred);  // a polynomial and its reverse
    EXPECT_EQ(classify_pair(c, 0, 4), PairVerdict::not_preferred);  // the same polynomial twice
    EXPECT_EQ(classify_pair(c, 0, 5), PairVerdict::preferred);
    EXPECT_EQ(classify_pair(c, 2, 5), PairVerdict::preferred);
    const std::uint32_t none[] = {0b11111, 0b10000};
    PairClassifier d;
    ASSERT_TRUE(prepare_pair_classifier(d, none, 2, 5));
    EXPECT_EQ(classify_pair(d, 0, 1), PairVerdict::unknown);
}

}  // namespace
}  // namespace tapwell

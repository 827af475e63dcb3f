// Ring: tests. All-phase correlation by the transform against stepping the two
// registers phase by phase, as the literal computation does.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

#include "core/all_phase_correlation.h"
#include "core/walsh_transform.h"
#include "core/shift_register.h"
#include "tests/reference/stepping.h"

namespace tapwell {
namespace {

using reference::all_phases;

template <typename T>
std::vector<std::int64_t> by_transform(CorrelationPlan plan) {
    std::vector<T> values(std::size_t{1} << plan.chunk_bits);
    std::vector<std::int64_t> r;
    for (std::uint32_t h = 0; h < plan.chunk_count; ++h) {
        EXPECT_TRUE(correlate_chunk(plan, h, values.data()));
        for (std::size_t l = (h == 0 ? 1 : 0); l < values.size(); ++l) r.push_back(values[l]);
    }
    return r;
}

std::vector<std::int64_t> fast(int n, std::uint32_t ga, std::uint32_t gb) {
    const CorrelationPlan plan = plan_correlation(n, taps_of(ga, 1u << (n - 1)), taps_of(gb, 1u << (n - 1)));
    return plan.wide ? by_transform<std::int64_t>(plan) : by_transform<std::int32_t>(plan);
}

TEST(WalshTransform, MatchesTheDefinitionAcrossBlockSizes) {
    std::mt19937 rng(3);
    for (int bits : {0, 1, 2, 5, 13, 14, 15, 17}) {
        const std::size_t size = std::size_t{1} << bits;
        std::vector<std::int32_t> data(size);
        for (auto& x : data) x = static_cast<std::int32_t>(rng() % 7) - 3;
        std::vector<std::int64_t> wide(data.begin(), data.end());
        std::vector<std::int32_t> expected(size);
        // The definition at a few outputs (all of them for small sizes).
        const std::size_t checks = size < 64 ? size : 64;
        std::vector<std::size_t> at(checks);
        for (std::size_t i = 0; i < checks; ++i) at[i] = size < 64 ? i : rng() % size;
        for (std::size_t s : at) {
            std::int64_t sum = 0;
            for (std::size_t w = 0; w < size; ++w) sum += (std::popcount(w & s) & 1) ? -data[w] : data[w];
            expected[s] = static_cast<std::int32_t>(sum);
        }
        ASSERT_TRUE(walsh_hadamard(data.data(), bits));
        ASSERT_TRUE(walsh_hadamard(wide.data(), bits));
        for (std::size_t s : at) {
            ASSERT_EQ(data[s], expected[s]) << bits << " " << s;
            ASSERT_EQ(wide[s], expected[s]) << bits << " " << s;
        }
    }
}

TEST(CorrelationSpectrum, WorkedExamples) {
    const std::vector<std::int64_t> a_b = {-1, 3, 3, -1, 7, -5, 3, -1, 7, 3, -5, -1, -1, -5, -5};
    EXPECT_EQ(fast(4, 0b1001, 0b1100), a_b);
    std::vector<std::int64_t> same(15, -1);
    same[0] = 15;
    EXPECT_EQ(fast(4, 0b1001, 0b1001), same);
    EXPECT_EQ(fast(3, 0b101, 0b110), (std::vector<std::int64_t>{3, -1, 3, -1, 3, -1, -5}));
}

// Every pair of polynomials of degrees 3 to 7, primitive or not (x^n + 1 and
// even weights included).
TEST(CorrelationSpectrum, EveryPairUpToDegree7) {
    for (int n = 3; n <= 7; ++n) {
        const std::uint32_t top = 1u << (n - 1);
        for (std::uint32_t ga = top; ga < 2 * top; ++ga) {
            for (std::uint32_t gb = top; gb < 2 * top; ++gb) {
                ASSERT_EQ(fast(n, ga, gb), all_phases(n, ga, gb)) << n << " " << ga << " " << gb;
            }
        }
    }
}

TEST(CorrelationSpectrum, RandomPairsUpToDegree12) {
    std::mt19937 rng(5);
    for (int n = 8; n <= 12; ++n) {
        const std::uint32_t top = 1u << (n - 1);
        auto any = [&] { return top | (static_cast<std::uint32_t>(rng()) & (top - 1)); };
        const std::uint32_t picks[][2] = {
            {any(), any()},
            {top, any()},             // x^n + 1
            {top | 0b110, top | 0b1}, // even weight, then x^n + x + 1
            {any(), any()},
        };
        for (const auto& p : picks) ASSERT_EQ(fast(n, p[0], p[1]), all_phases(n, p[0], p[1])) << n;
    }
}

// The chunked form (used above degree 28) and the 64-bit form, forced small.
TEST(CorrelationSpectrum, ChunksAndWideValuesGiveTheSameSpectrum) {
    std::mt19937 rng(9);
    for (int n : {6, 9, 11}) {
        const std::uint32_t top = 1u << (n - 1);
        const std::uint32_t ga = top | (rng() & (top - 1)), gb = top | (rng() & (top - 1));
        const auto expected = all_phases(n, ga, gb);
        CorrelationPlan plan = plan_correlation(n, taps_of(ga, 1u << (n - 1)), taps_of(gb, 1u << (n - 1)));
        for (int chunk_bits : {n - 1, n - 3, 3}) {
            while (plan.chunk_bits > chunk_bits) plan = with_smaller_chunks(plan);
            EXPECT_EQ(by_transform<std::int32_t>(plan), expected) << n << " " << chunk_bits;
            EXPECT_EQ(by_transform<std::int64_t>(plan), expected) << n << " " << chunk_bits;
        }
    }
}

TEST(CorrelationSpectrum, StopIsHonouredInsideTheWork) {
    const int n = 22;
    const CorrelationPlan plan = plan_correlation(n, taps_of(1u << 21 | 1u, 1u << (n - 1)), taps_of(1u << 21 | 1u, 1u << (n - 1)));
    std::vector<std::int32_t> values(std::size_t{1} << plan.chunk_bits);
    static int calls;
    calls = 0;
    EXPECT_FALSE(correlate_chunk(plan, 0, values.data(), +[] { return ++calls >= 3; }));
    EXPECT_EQ(calls, 3);
}

}  // namespace
}  // namespace tapwell

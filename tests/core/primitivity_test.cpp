// Ring: tests. The fast primitivity test and range search against the order
// walk, candidate by candidate.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/gf2_mulmod.h"
#include "tests/reference/order_walk.h"
#include "core/primitivity.h"

namespace tapwell {
namespace {

constexpr Gf2Engine ENGINES[] = {Gf2Engine::best, Gf2Engine::portable};

std::vector<std::uint32_t> walk_range(std::uint32_t first, std::uint32_t last, int n) {
    std::vector<std::uint32_t> out;
    for (std::uint32_t g = first;; ++g) {
        if (reference::is_primitive(g, n)) out.push_back(g);
        if (g == last) break;
    }
    return out;
}

std::vector<std::uint32_t> fast_range(std::uint32_t first, std::uint32_t last, int n, Gf2Engine engine) {
    std::vector<std::uint32_t> out(last - first + 1);
    out.resize(find_primitives(first, last, n, out.data(), engine));
    return out;
}

TEST(Gf2Mulmod, BarrettAgreesWithLongDivision) {
    std::mt19937_64 rng(7);
    for (int n = 3; n <= 32; ++n) {
        for (int trial = 0; trial < 200; ++trial) {
            const std::uint32_t top = 1u << (n - 1);
            const std::uint32_t g = top | (static_cast<std::uint32_t>(rng()) & (top - 1u));
            const auto m = gf2::make_modulus<gf2::PortableMultiplier>(g, n);
            const std::uint64_t a = rng() & m.mask, b = rng() & m.mask;
            std::uint64_t prod = gf2::PortableMultiplier::mul(a, b);
            for (int bit = 2 * n - 2; bit >= n; --bit) {
                if (prod >> bit & 1u) prod ^= m.p << (bit - n);
            }
            ASSERT_EQ(gf2::mulmod<gf2::PortableMultiplier>(m, a, b), prod) << n << " " << g;
        }
    }
}

// Every candidate of degree n, one at a time and as a range, with each engine.
void check_every_candidate(int n) {
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t last = 2 * top - 1;
    const std::vector<std::uint32_t> expected = walk_range(top, last, n);
    for (Gf2Engine engine : ENGINES) {
        EXPECT_EQ(fast_range(top, last, n, engine), expected) << "degree " << n;
        std::uint32_t next = 0;
        for (std::uint32_t g = top; g <= last; ++g) {
            const bool primitive = next < expected.size() && expected[next] == g;
            next += primitive;
            ASSERT_EQ(is_primitive_fast(g, n, engine), primitive) << "degree " << n << " g " << g;
        }
    }
}

TEST(Primitivity, AgreesWithTheOrderWalkOnEveryCandidateUpToDegree14) {
    for (int n = 3; n <= 14; ++n) check_every_candidate(n);
}

// Seconds of walking, most of the suite's time: a test of its own so that it
// shows in the timings.
TEST(Primitivity, AgreesWithTheOrderWalkOnEveryCandidateOfDegrees15And16) {
    for (int n = 15; n <= 16; ++n) check_every_candidate(n);
}

// Ranges that start and end inside blocks and cross block boundaries.
TEST(Primitivity, RangesAcrossBlocks) {
    struct Case {
        int n;
        std::uint32_t first, last;
    };
    const Case cases[] = {
        {18, 0x30000u - 300u, 0x30000u + 200u},
        {19, 0x50000u - 70u, 0x50000u + 2u},
        {20, 0xFFFF0u, 0xFFFFFu},
        {17, 0x10000u, 0x10000u},
        {17, 0x1FFFFu, 0x1FFFFu},
    };
    for (const Case& c : cases) {
        const auto expected = walk_range(c.first, c.last, c.n);
        for (Gf2Engine engine : ENGINES) {
            EXPECT_EQ(fast_range(c.first, c.last, c.n, engine), expected) << c.n << " " << c.first;
        }
    }
}

// Above degree 16: random candidates, with the primitive ones the walk knows
// (x^n + x + 1 and friends) mixed in; the walk is long, so samples are few.
TEST(Primitivity, RandomSamplesAboveDegree16) {
    std::mt19937 rng(11);
    for (int n = 17; n <= 22; ++n) {
        const std::uint32_t top = 1u << (n - 1);
        for (int trial = 0; trial < 16; ++trial) {
            const std::uint32_t g = top | (rng() & (top - 1u));
            const bool expected = reference::is_primitive(g, n);
            for (Gf2Engine engine : ENGINES) ASSERT_EQ(is_primitive_fast(g, n, engine), expected) << n << " " << g;
        }
        // A small range through the sieve as well.
        const std::uint32_t first = top | (rng() & (top - 1u) & ~63u);
        const std::uint32_t last = first + 40;
        EXPECT_EQ(fast_range(first, last, n, Gf2Engine::best), walk_range(first, last, n)) << n;
    }
}

// Degrees 27 to 32: the walk of a primitive candidate takes 2^n steps, too long
// here; known primitive trinomials and pentanomials, and their neighbours whose
// walk stops early, stand for them.
TEST(Primitivity, KnownPolynomialsOfHighDegree) {
    // Value of x^n + x^k + 1 is bit n-1 | bit k-1.
    struct Known {
        int n;
        std::uint32_t g;
        bool primitive;
    };
    const Known known[] = {
        {28, (1u << 27) | (1u << 2), true},                             // x^28 + x^3 + 1
        {29, (1u << 28) | (1u << 1), true},                             // x^29 + x^2 + 1
        {31, (1u << 30) | (1u << 2), true},                             // x^31 + x^3 + 1
        {32, (1u << 31) | (1u << 21) | (1u << 1) | (1u << 0), true},    // x^32 + x^22 + x^2 + x + 1
        {32, (1u << 31), false},                                        // x^32 + 1
        {32, (1u << 31) | 1u, false},                                   // x^32 + x + 1, reducible (Swan)
        {30, (1u << 29) | (1u << 5) | (1u << 3) | 1u, true},            // x^30 + x^6 + x^4 + x + 1
    };
    for (const Known& k : known) {
        for (Gf2Engine engine : ENGINES) EXPECT_EQ(is_primitive_fast(k.g, k.n, engine), k.primitive) << k.n;
    }
}

}  // namespace
}  // namespace tapwell

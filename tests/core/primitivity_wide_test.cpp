// Ring: tests. The primitivity test on 64-bit words against the
// factorisation's verdict (polynomial_facts, which finds every factor and the
// order of x) and against the window's kernel, with both multipliers; the
// published lists above degree 32.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/poly_order.h"
#include "core/primitivity_wide.h"
#include "tests/reference/published_primitives.h"

namespace tapwell {
namespace {

constexpr Gf2Engine ENGINES[] = {Gf2Engine::best, Gf2Engine::portable};

TEST(PrimitivityWide, EveryPolynomialOfLowDegreeAsTheFactorisationSays) {
    for (Gf2Engine engine : ENGINES) {
        for (int n = 2; n <= 12; ++n) {
            const std::uint64_t top = std::uint64_t{1} << (n - 1);
            for (std::uint64_t v = top; v < 2 * top; ++v) {
                ASSERT_EQ(is_primitive_wide(v, n, engine), polynomial_facts({v, n}).primitive) << n << " " << v;
            }
        }
    }
}

TEST(PrimitivityWide, AgreesWithTheWindowKernelAndKeepsTheOrder) {
    std::mt19937_64 rng(20);
    for (int n : {13, 17, 24, 31, 32}) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        std::vector<std::uint64_t> candidates(3000);
        for (std::uint64_t& c : candidates) c = top | (rng() & (top - 1));
        std::vector<std::uint64_t> expected;
        for (std::uint64_t c : candidates) {
            if (is_primitive_fast(static_cast<std::uint32_t>(c), n)) expected.push_back(c);
        }
        for (Gf2Engine engine : ENGINES) {
            // In place, as the search calls it.
            std::vector<std::uint64_t> finds = candidates;
            finds.resize(keep_primitive_wide(finds.data(), static_cast<std::uint32_t>(finds.size()), n, finds.data(),
                                             engine));
            EXPECT_EQ(finds, expected) << n;
        }
    }
}

TEST(PrimitivityWide, AboveDegree32AsTheFactorisationSays) {
    // Random ones, mostly reducible, and irreducible ones that are not
    // primitive (their order divides 2^n - 1 properly), which only the
    // exponents of the known primes tell apart.
    struct Known {
        std::uint64_t value;
        int n;
        bool primitive;
    };
    const Known known[] = {
        {(std::uint64_t{1} << 63) | 0x0D, 64, true},    // x^64 + x^4 + x^3 + x + 1
        {(std::uint64_t{1} << 63) | 0x141, 64, false},  // x^64 + x^9 + x^7 + x + 1: irreducible
        {(std::uint64_t{1} << 63) | 0x46, 64, false},   // x^64 + x^7 + x^3 + x^2 + 1: irreducible
        {(std::uint64_t{1} << 63) | 0x5, 64, false},    // x^64 + x^3 + x + 1: even weight
        {~std::uint64_t{0}, 64, false},                 // every term: divides x^65 + 1
    };
    for (Gf2Engine engine : ENGINES) {
        for (const Known& k : known) EXPECT_EQ(is_primitive_wide(k.value, k.n, engine), k.primitive) << k.value;
    }
    std::mt19937_64 rng(64);
    for (int n = 33; n <= 64; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        int irreducible = 0;
        for (int k = 0; k < 400 && irreducible < 3; ++k) {
            const std::uint64_t v = top | (rng() & (top - 1));
            const PolynomialFacts facts = polynomial_facts({v, n});
            irreducible += facts.irreducible;
            ASSERT_EQ(is_primitive_wide(v, n), facts.primitive) << n << " " << v;
        }
    }
}

TEST(PrimitivityWide, PublishedListsArePrimitive) {
    for (std::uint64_t k : reference::KOOPMAN_64_FIRST_TEN) EXPECT_TRUE(is_primitive_wide(k, 64)) << std::hex << k;
    for (const std::vector<int>& taps : reference::TAPS_33_TO_64) {
        EXPECT_TRUE(is_primitive_wide(reference::value_of_taps(taps), taps[0])) << taps[0];
    }
}

}  // namespace
}  // namespace tapwell

// Ring: tests. Decimations against stepping the registers: the polynomial of
// a decimated sequence, the decimation of a polynomial found by a root and
// its logarithm, the Gold and Kasami cosets against every phase stepped, the
// arithmetic modulo 2^n - 1 against plain integers, and the first phases
// counted 64 steps at a time against stepping them.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/decimation.h"
#include "core/field_log.h"
#include "core/phase_words.h"
#include "core/poly_order.h"
#include "core/primitivity.h"
#include "core/shift_register.h"
#include "tests/reference/order_walk.h"
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

// Some primitive polynomials of degree n (3..32), from random starts.
std::vector<std::uint32_t> some_primitives(int n, std::size_t count, std::mt19937& rng) {
    std::vector<std::uint32_t> list;
    const std::uint32_t top = 1u << (n - 1);
    while (list.size() < count) {
        for (std::uint32_t g = top | (rng() & (top - 1u));; g = top | ((g + 1) & (top - 1u))) {
            if (is_primitive_fast(g, n)) {
                list.push_back(g);
                break;
            }
        }
    }
    return list;
}

// The characteristic polynomial of f's sequence decimated by d, by stepping f's
// register from state 1 and Berlekamp-Massey on 2n terms.
PolyWord stepped_decimation(std::uint32_t f, int n, std::uint64_t d) {
    const std::uint32_t top = 1u << (n - 1), taps = taps_of(f, top);
    std::vector<int> u;
    std::uint32_t s = 1;
    for (std::uint32_t k = 0; k < (2u << (n - 1)) - 1u; ++k) {
        u.push_back(static_cast<int>(s & 1u));
        s = register_step(s, taps, top);
    }
    BitSequence bits;
    for (int k = 0; k < 2 * n; ++k) bits.push(u[(d * static_cast<std::uint64_t>(k)) % u.size()] != 0);
    const PolyWord g = characteristic_polynomial(linear_recurrence(bits));
    return g.degree == n ? g : PolyWord{};
}

TEST(Decimation, PolynomialOfEveryDecimationUpToDegree10) {
    for (int n = 3; n <= 10; ++n) {
        const std::uint32_t f = primitives(n).back();
        BerlekampMassey bm;
        for (std::uint64_t d = 0; d < mersenne(n); ++d) {
            ASSERT_EQ(decimation_polynomial({f, n}, d, bm), stepped_decimation(f, n, d)) << n << " " << d;
        }
        // d = 1 is f, d = -1 its reciprocal.
        EXPECT_EQ(decimation_polynomial({f, n}, 2, bm), (PolyWord{f, n}));
    }
}

TEST(Decimation, ArithmeticModuloMersenneNumbers) {
    std::mt19937_64 rng(5);
    for (int n : {3, 5, 12, 20, 31, 32, 33, 47, 63, 64}) {
        const std::uint64_t m = mersenne(n);
        for (int trial = 0; trial < 200; ++trial) {
            const std::uint64_t a = rng() % m, b = rng() % m;
            if (n <= 32) {
                ASSERT_EQ(mersenne_product(a, b, n), a * b % m) << n;
            }
            const std::uint64_t inverse = mersenne_inverse(a, n);
            if (inverse != 0) {
                ASSERT_EQ(mersenne_product(a, inverse, n), 1u) << n << " " << a;
            } else {
                EXPECT_NE(std::gcd(a, m), 1u) << n << " " << a;
            }
        }
    }
    EXPECT_EQ(coset_leader(0b1100, 4), 0b0011u);
    EXPECT_EQ(coset_leader(mersenne(64) - 1, 64), mersenne(63));
}

// x^log(a) = a, at every degree to 32: one prime (13, 17, 31), prime powers
// (6 = 3^2 7, 18 = 3^3 7 19 73, 21 = 7^2 127 337), many primes (30, 32).
TEST(Decimation, LogarithmsUpToDegree32) {
    std::mt19937 rng(11);
    for (int n = 3; n <= 32; ++n) {
        const std::uint32_t f = some_primitives(n, 1, rng)[0];
        FieldLog log;
        prepare_field_log(log, {f, n});
        const WideArithmetic& arith = wide_arithmetic();
        const std::uint64_t m = mersenne(n);
        for (int trial = 0; trial < 20; ++trial) {
            const std::uint64_t e = (std::uint64_t{rng()} << 32 | rng()) % m;
            const std::uint64_t a = arith.power(log.modulus, x_residue(n), e);
            ASSERT_EQ(field_log(log, a), e) << n << " " << f;
        }
    }
}

// Every primitive polynomial of degrees 3 to 11 is the decimation found for it;
// above, some of every degree to 32.
TEST(Decimation, DecimationOfEveryPrimitivePolynomial) {
    std::mt19937 rng(3);
    for (int n = 3; n <= 32; ++n) {
        const std::vector<std::uint32_t> list = n <= 11 ? primitives(n) : some_primitives(n, 12, rng);
        FieldLog log;
        prepare_field_log(log, {list[list.size() / 2], n});
        BerlekampMassey bm;
        std::vector<std::uint64_t> leaders;
        for (std::uint32_t g : list) {
            const std::uint64_t d = decimation_of(log, {g, n}, bm);
            ASSERT_NE(d, 0u) << n << " " << g;
            if (n <= 11) {
                EXPECT_EQ(stepped_decimation(list[list.size() / 2], n, d), (PolyWord{g, n}));
            }
            leaders.push_back(coset_leader(d, n));
        }
        std::sort(leaders.begin(), leaders.end());
        EXPECT_EQ(std::adjacent_find(leaders.begin(), leaders.end()), leaders.end()) << n;
    }
    // A polynomial that is not primitive has none.
    FieldLog log;
    prepare_field_log(log, {0b10010, 5});
    BerlekampMassey bm;
    EXPECT_EQ(decimation_of(log, {0b11111, 5}, bm), 0u);
}

// The families against stepping every phase: each family coset is preferred;
// the cosets of the small degrees as counted by stepping.
TEST(Decimation, FamiliesArePreferredWhenSteppedAndNoneForDegreesDivisibleBy4) {
    for (int n = 3; n <= 11; ++n) {
        const std::uint32_t f = primitives(n).front();
        const std::vector<FamilyDecimation> family = preferred_family_decimations(n);
        EXPECT_EQ(family.empty(), n % 4 == 0) << n;
        BerlekampMassey bm;
        for (const FamilyDecimation& d : family) {
            const PolyWord g = decimation_polynomial({f, n}, d.d, bm);
            ASSERT_EQ(g.degree, n);
            EXPECT_TRUE(reference::preferred(f, static_cast<std::uint32_t>(g.value), n)) << n << " d=" << d.d;
            EXPECT_EQ(verdict_by_theorem(d.d, n, family_leaders(n)), PairVerdict::preferred);
        }
        if (n % 4 == 0) {
            EXPECT_EQ(verdict_by_theorem(3, n, family_leaders(n)), PairVerdict::not_preferred);
        }
    }
    struct Case {
        int n;
        std::vector<std::uint64_t> d;
    };
    const Case cases[] = {{3, {3}}, {5, {3, 5, 13, 7}}, {6, {5, 13}}};
    for (const Case& c : cases) {
        std::vector<std::uint64_t> got;
        for (const FamilyDecimation& d : preferred_family_decimations(c.n)) got.push_back(d.d);
        EXPECT_EQ(got, c.d) << c.n;
    }
    // Degree 7: every one of the 10 partners each polynomial has (90 pairs
    // among 18) is of a family.
    EXPECT_EQ(preferred_family_decimations(7).size(), 10u);
    EXPECT_EQ(verdict_by_theorem(1, 7, family_leaders(7)), PairVerdict::unknown);
}

// The first phases 64 steps at a time, whole and in segments, against
// stepping; any taps, primitive or not.
TEST(PhaseWords, FirstPhasesAsSteppingGivesThem) {
    std::mt19937 rng(23);
    for (int n = 3; n <= 14; ++n) {
        for (int trial = 0; trial < 3; ++trial) {
            const std::uint32_t top = 1u << (n - 1);
            const std::uint32_t ga = top | (rng() & (top - 1u)), gb = top | (rng() & (top - 1u));
            PhaseWords plan;
            plan_phase_words(plan, n, taps_of(ga, top), taps_of(gb, top));
            std::uint64_t whole[PHASE_WORDS_STATES] = {}, parts[PHASE_WORDS_STATES] = {};
            ASSERT_TRUE(count_phase_differences(plan, 0, plan.words, whole));
            const std::uint64_t cut = plan.words / 3;
            ASSERT_TRUE(count_phase_differences(plan, 0, cut, parts));
            ASSERT_TRUE(count_phase_differences(plan, cut, plan.words, parts));
            for (int i = 0; i < PHASE_WORDS_STATES; ++i) {
                const std::int64_t expected = reference::phase(n, ga, gb, phase_words_state(plan, i));
                EXPECT_EQ(phase_value(n, whole[i]), expected) << n << " " << ga << " " << gb << " " << i;
                EXPECT_EQ(phase_value(n, parts[i]), expected) << n << " " << ga << " " << gb << " " << i;
            }
        }
    }
}

}  // namespace
}  // namespace tapwell

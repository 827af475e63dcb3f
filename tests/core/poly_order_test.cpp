// Ring: tests. Factorisation, irreducibility, primitivity and the order of x
// against the fast primitive test on every polynomial of degrees 3 to 16,
// against stepping the register itself, and against published polynomials of
// degrees 33 to 64.
#include <gtest/gtest.h>

#include <random>

#include "core/gf2_poly.h"
#include "core/notation.h"
#include "core/poly_order.h"
#include "core/primitivity.h"
#include "core/shift_register.h"

namespace tapwell {
namespace {

PolyWord product_of(const std::vector<WordFactor>& factors) {
    PolyWord p{0, 0};
    for (const WordFactor& f : factors) {
        for (int e = 0; e < f.multiplicity; ++e) p = gf2::product(p, f.poly);
    }
    return p;
}

// The period of the window's register from state 1, stepped.
std::uint64_t stepped_period(PolyWord p) {
    const std::uint64_t top = top_of(p), taps = taps_of64(p.value, top);
    std::uint64_t state = register_step64(1, taps, top), period = 1;
    while (state != 1) {
        state = register_step64(state, taps, top);
        ++period;
    }
    return period;
}

TEST(PolynomialFacts, AgreeWithTheFastTestFromDegree3To16) {
    for (int n = 3; n <= 16; ++n) {
        const std::uint32_t top = 1u << (n - 1);
        for (std::uint32_t v = top; v < 2 * top; ++v) {
            const PolynomialFacts f = polynomial_facts({v, n});
            ASSERT_EQ(f.primitive, is_primitive_fast(v, n)) << n << " " << v;
        }
    }
}

TEST(PolynomialFacts, OrderIsThePeriodOfTheRegisterToDegree12) {
    for (int n = 1; n <= 12; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (std::uint64_t v = top; v < 2 * top; ++v) {
            const PolynomialFacts f = polynomial_facts({v, n});
            ASSERT_EQ(f.order, stepped_period({v, n})) << n << " " << v;
            ASSERT_EQ(product_of(f.factors), (PolyWord{v, n})) << n << " " << v;
            for (const WordFactor& q : f.factors) {
                ASSERT_TRUE(polynomial_facts(q.poly).irreducible) << v;
            }
            // Irreducible exactly when no polynomial of half the degree or less divides it.
            bool divisible = false;
            for (std::uint64_t d = 2; d < (std::uint64_t{1} << (n / 2 + 1)) && !divisible; ++d) {
                divisible = gf2::remainder(coefficient_word({v, n}), d) == 0 && d != coefficient_word({v, n});
            }
            ASSERT_EQ(f.irreducible, !divisible) << n << " " << v;
        }
    }
}

TEST(PolynomialFacts, EnginesAgreeToDegree64) {
    std::mt19937_64 rng(5);
    for (int n = 17; n <= 64; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (int trial = 0; trial < 20; ++trial) {
            const PolyWord p{top | (rng() & (top - 1)), n};
            const PolynomialFacts a = polynomial_facts(p, Gf2Engine::best);
            const PolynomialFacts b = polynomial_facts(p, Gf2Engine::portable);
            ASSERT_EQ(a.order, b.order) << write_notation(p, Notation::algebraic);
            ASSERT_EQ(a.factors.size(), b.factors.size());
            ASSERT_EQ(product_of(a.factors), p) << write_notation(p, Notation::algebraic);
        }
    }
}

struct Known {
    const char* algebraic;
    bool irreducible;
    bool primitive;
    std::uint64_t order;  // 0: 2^n - 1
};

// Primitive trinomials and pentanomials from the published tables of
// maximal-length registers, x^n + 1 (reducible), and irreducible polynomials
// that are not primitive, with their orders; each confirmed by PARI/GP
// (polisirreducible, fforder).
constexpr Known KNOWN[] = {
    {"x^33 + x^13 + 1", true, true, 0},
    {"x^35 + x^2 + 1", true, true, 0},
    {"x^36 + x^11 + 1", true, true, 0},
    {"x^39 + x^4 + 1", true, true, 0},
    {"x^41 + x^3 + 1", true, true, 0},
    {"x^47 + x^5 + 1", true, true, 0},
    {"x^49 + x^9 + 1", true, true, 0},
    {"x^52 + x^3 + 1", true, true, 0},
    {"x^55 + x^24 + 1", true, true, 0},
    {"x^57 + x^7 + 1", true, true, 0},
    {"x^58 + x^19 + 1", true, true, 0},
    {"x^60 + x + 1", true, true, 0},
    {"x^63 + x + 1", true, true, 0},
    {"x^64 + x^4 + x^3 + x + 1", true, true, 0},
    {"x^34 + x^27 + x^2 + x + 1", true, true, 0},
    {"x^40 + x^38 + x^21 + x^19 + 1", true, true, 0},
    {"x^62 + x^61 + x^6 + x^5 + 1", true, true, 0},
    {"x^33 + 1", false, false, 33},
    {"x^64 + 1", false, false, 64},
    {"x^36 + x^9 + 1", true, false, 135},
    {"x^54 + x^9 + 1", true, false, 567},
    {"x^60 + x^9 + 1", true, false, 3145725},
    {"x^63 + x^11 + 1", true, false, 1317624576693539401u},
    {"x^48 + x^11 + x^7 + x + 1", true, false, 93824992236885u},
    {"x^56 + x^15 + x^10 + x + 1", true, false, 14411518807585587u},
    {"x^64 + x^9 + x^7 + x + 1", true, false, 3689348814741910323u},
};

TEST(PolynomialFacts, PublishedPolynomialsFromDegree33To64) {
    for (const Known& k : KNOWN) {
        const NotationReading r = read_notation(k.algebraic, Notation::algebraic);
        ASSERT_TRUE(r.ok()) << r.error;
        const PolynomialFacts f = polynomial_facts(r.poly);
        EXPECT_EQ(f.irreducible, k.irreducible) << k.algebraic;
        EXPECT_EQ(f.primitive, k.primitive) << k.algebraic;
        EXPECT_EQ(f.order, k.order != 0 ? k.order : mersenne(r.poly.degree)) << k.algebraic;
    }
    // x^64 + 1 = (x + 1)^64: one factor of multiplicity 64, order 64.
    const PolynomialFacts f = polynomial_facts(read_notation("x^64+1", Notation::algebraic).poly);
    ASSERT_EQ(f.factors.size(), 1u);
    EXPECT_EQ(f.factors[0].multiplicity, 64);
    EXPECT_EQ(f.factors[0].poly, (PolyWord{1, 1}));
}

}  // namespace
}  // namespace tapwell

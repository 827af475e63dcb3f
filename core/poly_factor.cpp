// Ring: core. See poly_factor.h.
#include "core/poly_factor.h"

#include <algorithm>

#include "core/gf2_poly.h"
#include "core/gf2_wide.h"

namespace tapwell {

namespace {

// A fixed pseudo-random sequence (splitmix64): the trace split tries residues
// in the same order every time, so a factorisation is reproducible.
std::uint64_t next_random(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

// g is a product of distinct irreducible polynomials of degree d. For a
// residue a, T(a) = a + a^2 + ... + a^(2^(d-1)) mod g is 0 or 1 modulo each
// factor, about half of each, so gcd(g, T(a)) splits g after a few tries.
void split_equal_degree(PolyWord g, int d, const WideArithmetic& arith, std::vector<PolyWord>& out) {
    if (g.degree == d) {
        out.push_back(g);
        return;
    }
    const gf2::WideModulus m = gf2::make_wide_modulus(g.value, g.degree);
    std::uint64_t seed = g.value;
    while (true) {
        const std::uint64_t a = next_random(seed) & m.mask;
        std::uint64_t t = a, trace = a;
        for (int i = 1; i < d; ++i) {
            t = arith.multiply(m, t, t);
            trace ^= t;
        }
        const PolyWord c = gf2::gcd(g, trace);
        if (c.degree > 0 && c.degree < g.degree) {
            split_equal_degree(c, d, arith, out);
            split_equal_degree(gf2::quotient(g, c), d, arith, out);
            return;
        }
    }
}

}  // namespace

std::vector<WordFactor> factorize(PolyWord f, Gf2Engine engine) {
    const WideArithmetic& arith = wide_arithmetic(engine);
    std::vector<WordFactor> factors;
    PolyWord rest = f;
    std::uint64_t h = x_residue(rest.degree);  // x^(2^d) mod rest
    // Every factor of degree at most d has been divided out of rest; once rest
    // is shorter than two factors of degree d + 1 it is irreducible (or 1).
    for (int d = 1; rest.degree >= 2 * d; ++d) {
        const gf2::WideModulus m = gf2::make_wide_modulus(rest.value, rest.degree);
        h = arith.square_times(m, h, 1);
        // The product of the distinct irreducible factors of degree d.
        const PolyWord g = gf2::gcd(rest, h ^ x_residue(rest.degree));
        if (g.degree == 0) continue;
        std::vector<PolyWord> split;
        split_equal_degree(g, d, arith, split);
        for (const PolyWord& q : split) {
            int e = 0;
            while (gf2::divides(q, rest)) {
                rest = gf2::quotient(rest, q);
                ++e;
            }
            factors.push_back({q, e});
        }
        if (rest.degree > 0) h = gf2::remainder(h, coefficient_word(rest));
    }
    if (rest.degree > 0) factors.push_back({rest, 1});
    std::sort(factors.begin(), factors.end(), [](const WordFactor& a, const WordFactor& b) {
        return a.poly.degree != b.poly.degree ? a.poly.degree < b.poly.degree : a.poly.value < b.poly.value;
    });
    return factors;
}

}  // namespace tapwell

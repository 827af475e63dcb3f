// Ring: core. See poly_order.h.
#include "core/poly_order.h"

#include <bit>
#include <numeric>

#include "core/gf2_wide.h"
#include "core/mersenne_factors.h"

namespace tapwell {

std::uint64_t irreducible_order(PolyWord q, Gf2Engine engine) {
    const int d = q.degree;
    if (d == 1) return 1;  // x = 1 modulo x + 1
    const WideArithmetic& arith = wide_arithmetic(engine);
    const gf2::WideModulus m = gf2::make_wide_modulus(q.value, d);
    const MersenneFactors& f = mersenne_factors(d);
    std::uint64_t order = mersenne(d);
    for (int i = 0; i < f.count(); ++i) {
        const std::uint64_t p = f.factors[i].prime;
        while (order % p == 0 && arith.power(m, x_residue(d), order / p) == 1) order /= p;
    }
    return order;
}

PolynomialFacts polynomial_facts(PolyWord p, Gf2Engine engine) {
    PolynomialFacts facts;
    facts.factors = factorize(p, engine);
    facts.irreducible = facts.factors.size() == 1 && facts.factors[0].multiplicity == 1;
    // Every partial lcm divides the order, which is at most 2^n - 1: no overflow.
    std::uint64_t order = 1;
    for (const WordFactor& f : facts.factors) {
        const int doubling = std::bit_width(static_cast<unsigned>(f.multiplicity - 1));  // ceil(log2 e)
        const std::uint64_t o = irreducible_order(f.poly, engine) << doubling;
        order = order / std::gcd(order, o) * o;
    }
    facts.order = order;
    facts.primitive = facts.irreducible && order == mersenne(p.degree);
    return facts;
}

}  // namespace tapwell

// Ring: core. What one polynomial P of degree 1..64 with constant term 1 is as
// a register's polynomial: its factorisation, irreducible or not, the order of
// x modulo P (the period of the register's sequence from state 1), primitive
// or not. The order of an irreducible factor is found from the prime factors
// of 2^d - 1 (core/mersenne_factors.h), that of f^e is it times
// 2^ceil(log2 e), and that of P the lcm over its factors. Pure.
#pragma once

#include <cstdint>
#include <vector>

#include "core/mersenne.h"
#include "core/poly_factor.h"
#include "core/poly_word.h"
#include "core/primitivity.h"

namespace tapwell {

struct PolynomialFacts {
    std::vector<WordFactor> factors;
    bool irreducible = false;
    bool primitive = false;
    std::uint64_t order = 0;  // of x modulo P; at most 2^n - 1
};

PolynomialFacts polynomial_facts(PolyWord p, Gf2Engine engine = Gf2Engine::best);

// The order of x modulo an irreducible polynomial q: the least divisor E of
// 2^d - 1 with x^E = 1.
std::uint64_t irreducible_order(PolyWord q, Gf2Engine engine = Gf2Engine::best);


}  // namespace tapwell

// Ring: core. The factorisation of a polynomial of degree 1..64 with constant
// term 1 into irreducible polynomials over GF(2): distinct-degree
// factorisation (gcd with x^(2^d) - x), each product of equal-degree factors
// split by the trace map (Cantor-Zassenhaus for characteristic 2), and the
// multiplicity of every factor by division. Pure; the products use the
// carry-less multiply instruction where the processor has it.
#pragma once

#include <vector>

#include "core/poly_word.h"
#include "core/primitivity.h"

namespace tapwell {

struct WordFactor {
    PolyWord poly;  // irreducible
    int multiplicity;
};

// The irreducible factors of f (degree 1..64) with their multiplicities, in
// increasing order of degree, then of value. Their product is f.
std::vector<WordFactor> factorize(PolyWord f, Gf2Engine engine = Gf2Engine::best);

}  // namespace tapwell

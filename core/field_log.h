// Ring: core. Which decimation of f's M-sequence another primitive
// polynomial g of the same degree n is, without the sequence: in the field
// GF(2^n) = GF(2)[x]/(f), where x is a generator, a root b of g (g splits
// there into n linear factors) and its logarithm e = log_x(b); then u
// decimated by e has the characteristic polynomial g.
//
// The root: equal-degree splitting by the trace map. For a random c the
// polynomial T(y) = sum of (c y)^(2^i), i < n, takes the values Tr(c b) in
// {0, 1} at the roots b of g, so gcd(g, T) holds about half of them; the
// smaller part is split again until one root is left. y^(2^i) mod g has
// coefficients in GF(2), so T costs n^2 additions of field elements.
//
// The logarithm: Pohlig-Hellman over the prime factors of 2^n - 1
// (mersenne_factors), baby-step giant-step in each prime's subgroup with a
// table of at most 2^20 baby steps (n = 31: 2^31 - 1 is prime, so 2^11 giant
// steps a logarithm; every other degree to 32 has its primes below 2^20 and
// no giant steps). The tables are built once per f and then only read, so
// logarithms may run on several threads at once.
//
// 3 <= n <= 32. Pure; no threads, no I/O.
#pragma once

#include <cstdint>
#include <vector>

#include "core/gf2_mulmod.h"
#include "core/gf2_wide.h"
#include "core/poly_word.h"
#include "core/walsh_transform.h"

namespace tapwell {

struct FieldLog {
    struct Prime {
        std::uint64_t prime = 0;
        int exponent = 0;
        std::uint64_t power = 0;     // prime^exponent
        std::uint64_t cofactor = 0;  // (2^n - 1) / power
        std::uint64_t giant = 0;     // generator^-baby_steps: one giant step
        std::uint64_t baby_steps = 0;
        // Open addressing: key generator^j (never 0), value j.
        std::vector<std::uint32_t> keys;
        std::vector<std::uint32_t> values;
    };
    PolyWord f;
    gf2::WideModulus modulus{};
    const WideArithmetic* arith = nullptr;
    std::vector<Prime> primes;
};

// The tables for f (primitive, degree 3..32): up to 2^20 products, with a
// look at `stop` every 2^16 of them; false when it said so. May throw
// std::bad_alloc.
bool prepare_field_log(FieldLog& log, PolyWord f, StopCheck stop = nullptr);

// e with x^e = a mod f, 0 <= e < 2^n - 1, for a != 0.
std::uint64_t field_log(const FieldLog& log, std::uint64_t a);

// A root of g (irreducible, of f's degree) in GF(2)[x]/(f).
std::uint64_t field_root(const FieldLog& log, PolyWord g);

}  // namespace tapwell

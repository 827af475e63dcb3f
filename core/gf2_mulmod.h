// Ring: core. Products of GF(2) polynomials held in words, and their remainders
// modulo a polynomial of degree 3..32 by Barrett reduction. Two multipliers with
// one interface: the portable one and the carry-less multiply instruction; the
// kernels are templates over the multiplier so each is compiled with the
// instruction set it needs and chosen once at run time.
#pragma once

#include <cstdint>

namespace tapwell::gf2 {

// Carry-less product of a and b whose degrees add up to at most 63.
struct PortableMultiplier {
    static std::uint64_t mul(std::uint64_t a, std::uint64_t b) {
        std::uint64_t r = 0;
        // Four bits of b at a time through a small table of multiples of a.
        std::uint64_t t[16];
        t[0] = 0;
        t[1] = a;
        for (int i = 2; i < 16; i += 2) {
            t[i] = t[i / 2] << 1;
            t[i + 1] = t[i] ^ a;
        }
        for (int shift = 0; b != 0; shift += 4, b >>= 4) r ^= t[b & 15] << shift;
        return r;
    }
};

// The remainder arithmetic modulo one polynomial P of degree n (constant term 1).
struct Modulus {
    std::uint64_t p;     // P with its x^n bit
    std::uint64_t mu;    // floor(x^(2n) / P), degree n
    std::uint64_t mask;  // the n low bits
    int n;
};

// P from a polynomial value g of degree n (bit k of g = coefficient of x^(k+1)).
// A template over the multiplier like the rest, so that each instruction set
// gets its own copy.
template <typename Mul>
inline Modulus make_modulus(std::uint32_t g, int n) {
    Modulus m;
    m.n = n;
    m.p = (static_cast<std::uint64_t>(g) << 1) | 1u;
    m.mask = (std::uint64_t{1} << n) - 1u;
    // Long division of x^(2n) by P, one quotient bit per step from x^n down.
    std::uint64_t r = std::uint64_t{1} << n;
    std::uint64_t q = 0;
    for (int step = 0; step <= n; ++step) {
        q <<= 1;
        if (r >> n & 1u) {
            q |= 1u;
            r ^= m.p;
        }
        r <<= 1;
    }
    m.mu = q;
    return m;
}

// a of degree at most 2n - 2, reduced modulo P.
template <typename Mul>
inline std::uint64_t reduce(const Modulus& m, std::uint64_t a) {
    const std::uint64_t q = Mul::mul(a >> m.n, m.mu) >> m.n;
    return (a ^ Mul::mul(q, m.p)) & m.mask;
}

template <typename Mul>
inline std::uint64_t mulmod(const Modulus& m, std::uint64_t a, std::uint64_t b) {
    return reduce<Mul>(m, Mul::mul(a, b));
}

}  // namespace tapwell::gf2

// Ring: core. Products of GF(2) polynomials held in words, and their remainders
// modulo a polynomial P by Barrett reduction: of degree 3..32 in one word
// (Modulus, the primitive search's kernel) and of degree 1..64 from a product
// in two words (WideModulus, the questions about one polynomial). Two
// multipliers with one interface: the portable one and the carry-less multiply
// instruction; the kernels are templates over the multiplier so each is
// compiled with the instruction set it needs and chosen once at run time.
#pragma once

#include <cstdint>

#include "core/mersenne.h"

namespace tapwell::gf2 {

// A product of two 64-bit polynomials: bits 0..63 in lo, 64..127 in hi.
struct Wide {
    std::uint64_t lo = 0;
    std::uint64_t hi = 0;
};

struct PortableMultiplier {
    // Carry-less product of a and b, its low 64 bits (all of it when the
    // degrees add up to at most 63).
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
    // The whole 128-bit product, from three products of 32-bit halves
    // (Karatsuba), each of which fits mul.
    static Wide mul_wide(std::uint64_t a, std::uint64_t b) {
        const std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32;
        const std::uint64_t b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
        const std::uint64_t low = mul(a0, b0), high = mul(a1, b1);
        const std::uint64_t middle = mul(a0 ^ a1, b0 ^ b1) ^ low ^ high;
        return {low ^ (middle << 32), high ^ (middle >> 32)};
    }
};

// floor(x^(2n) / P) without its leading x^n, for P = x^n + low of degree
// 1 <= n <= 64: long division, one quotient bit per step from x^(n-1) down,
// keeping only the n remainder bits below the leading one.
constexpr std::uint64_t barrett_quotient(std::uint64_t low, int n) {
    const std::uint64_t top = std::uint64_t{1} << (n - 1);
    const std::uint64_t mask = top | (top - 1u);
    std::uint64_t r = low;  // x^(2n) - x^n * P, shifted down by n
    std::uint64_t q = 0;
    for (int j = n - 1; j >= 0; --j) {
        const std::uint64_t lead = r >> (n - 1) & 1u;
        r = ((r << 1) & mask) ^ (lead ? low : 0u);
        q |= lead << j;
    }
    return q;
}

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
    m.mu = (std::uint64_t{1} << n) | barrett_quotient(m.p & m.mask, n);
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

// The same arithmetic for 1 <= n <= 64, where P needs 65 bits and a product
// two words: P and the Barrett factor are kept without their x^n terms.
struct WideModulus {
    std::uint64_t low;   // P - x^n
    std::uint64_t mu;    // floor(x^(2n) / P) - x^n
    std::uint64_t mask;  // the n low bits
    int n;
};

// P from a polynomial value g of degree n (the window's convention).
inline WideModulus make_wide_modulus(std::uint64_t g, int n) {
    WideModulus m;
    m.n = n;
    m.mask = mersenne(n);
    m.low = ((g << 1) | 1u) & m.mask;
    m.mu = barrett_quotient(m.low, n);
    return m;
}

// floor(a / x^n), 1 <= n <= 64.
inline std::uint64_t shift_down(Wide a, int n) { return n == 64 ? a.hi : (a.lo >> n) | (a.hi << (64 - n)); }

// a of degree at most 2n - 2, reduced modulo P. With t = floor(a / x^n) the
// quotient is t + floor(t * mu / x^n); only the low n bits of q * P matter.
template <typename Mul>
inline std::uint64_t reduce_wide(const WideModulus& m, Wide a) {
    const std::uint64_t t = shift_down(a, m.n);
    const std::uint64_t q = t ^ shift_down(Mul::mul_wide(t, m.mu), m.n);
    return (a.lo ^ Mul::mul(q, m.low)) & m.mask;
}

template <typename Mul>
inline std::uint64_t mulmod_wide(const WideModulus& m, std::uint64_t a, std::uint64_t b) {
    return reduce_wide<Mul>(m, Mul::mul_wide(a, b));
}

}  // namespace tapwell::gf2

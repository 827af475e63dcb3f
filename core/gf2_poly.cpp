// Ring: core. See gf2_poly.h.
#include "core/gf2_poly.h"

#include "core/gf2_mulmod.h"

namespace tapwell::gf2 {

namespace {

// The whole coefficient word of a polynomial of degree up to 64, in two words.
Wide full(PolyWord p) { return {(p.value << 1) | 1u, p.value >> 63}; }

bool bit(const Wide& w, int k) { return ((k < 64 ? w.lo >> k : w.hi >> (k - 64)) & 1u) != 0; }

// w ^= b * x^shift, b of degree at most 63, shift + deg b <= 127.
void subtract_shifted(Wide& w, std::uint64_t b, int shift) {
    if (shift == 0) {
        w.lo ^= b;
    } else if (shift < 64) {
        w.lo ^= b << shift;
        w.hi ^= b >> (64 - shift);
    } else {
        w.hi ^= b << (shift - 64);
    }
}

}  // namespace

std::uint64_t remainder(std::uint64_t a, std::uint64_t b) {
    const int db = degree_of(b);
    for (int k = degree_of(a); k >= db; --k) {
        if (a >> k & 1u) a ^= b << (k - db);
    }
    return a;
}

std::uint64_t remainder(PolyWord f, std::uint64_t b) {
    // Horner from the top coefficient: r stays below x^deg(b) + 1 bits.
    const int db = degree_of(b);
    std::uint64_t r = 0;
    for (int k = f.degree; k >= 0; --k) {
        r = (r << 1) | (coefficient(f, k) ? 1u : 0u);
        if (r >> db & 1u) r ^= b;
    }
    return r;
}

PolyWord gcd(PolyWord f, std::uint64_t w) {
    if (w == 0) return f;
    std::uint64_t a = w, b = remainder(f, w);
    while (b != 0) {
        const std::uint64_t r = remainder(a, b);
        a = b;
        b = r;
    }
    return from_coefficient_word(a);
}

bool divides(PolyWord g, PolyWord f) {
    if (g.degree > f.degree) return false;
    if (g.degree == 64) return g == f;
    return remainder(f, coefficient_word(g)) == 0;
}

PolyWord quotient(PolyWord f, PolyWord g) {
    if (g.degree == f.degree) return {0, 0};  // g = f
    if (g.degree == 0) return f;
    const std::uint64_t b = coefficient_word(g);
    Wide r = full(f);
    std::uint64_t q = 0;
    for (int k = f.degree; k >= g.degree; --k) {
        if (!bit(r, k)) continue;
        subtract_shifted(r, b, k - g.degree);
        q |= std::uint64_t{1} << (k - g.degree);
    }
    return from_coefficient_word(q);
}

PolyWord product(PolyWord a, PolyWord b) {
    Wide r;
    for (int k = 0; k <= b.degree; ++k) {
        if (!coefficient(b, k)) continue;
        if (a.degree == 64) {
            subtract_shifted(r, (a.value << 1) | 1u, k);
            subtract_shifted(r, std::uint64_t{1}, 64 + k);  // the x^64 term
        } else {
            subtract_shifted(r, coefficient_word(a), k);
        }
    }
    return {(r.lo >> 1) | (r.hi << 63), a.degree + b.degree};
}

}  // namespace tapwell::gf2

// Ring: core. See field_log.h.
#include "core/field_log.h"

#include <algorithm>
#include <bit>

#include "core/mersenne_factors.h"
#include "core/poly_order.h"

namespace tapwell {

namespace {

constexpr std::uint64_t MAX_BABY_STEPS = std::uint64_t{1} << 20;
constexpr std::size_t ZEROED_PIECE = std::size_t{1} << 16;

int bits_of(const std::vector<std::uint32_t>& keys) { return std::countr_zero(keys.size()); }

std::size_t slot_of(std::uint64_t key, int bits) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> (64 - bits));
}

void insert(FieldLog::Prime& p, std::uint64_t key, std::uint64_t value) {
    const std::size_t mask = p.keys.size() - 1;
    std::size_t s = slot_of(key, bits_of(p.keys));
    while (p.keys[s] != 0) s = (s + 1) & mask;
    p.keys[s] = static_cast<std::uint32_t>(key);
    p.values[s] = static_cast<std::uint32_t>(value);
}

// j with generator^j = key, or -1.
std::int64_t find(const FieldLog::Prime& p, std::uint64_t key) {
    const std::size_t mask = p.keys.size() - 1;
    for (std::size_t s = slot_of(key, bits_of(p.keys)); p.keys[s] != 0; s = (s + 1) & mask) {
        if (p.keys[s] == key) return p.values[s];
    }
    return -1;
}

std::uint64_t mul(const FieldLog& log, std::uint64_t a, std::uint64_t b) {
    return log.arith->multiply(log.modulus, a, b);
}
std::uint64_t power_of(const FieldLog& log, std::uint64_t a, std::uint64_t e) {
    return log.arith->power(log.modulus, a, e);
}

// The e < p with generator^e = c, c in the subgroup of order p.
std::uint64_t baby_giant(const FieldLog& log, const FieldLog::Prime& p, std::uint64_t c) {
    for (std::uint64_t i = 0; i * p.baby_steps < p.prime; ++i) {
        const std::int64_t j = find(p, c);
        if (j >= 0) return i * p.baby_steps + static_cast<std::uint64_t>(j);
        c = mul(log, c, p.giant);
    }
    return 0;  // not in the subgroup: not reached for a non-zero c
}

// a^-1 mod m for a coprime to m < 2^32.
std::uint64_t small_inverse(std::uint64_t a, std::uint64_t m) {
    std::int64_t r0 = static_cast<std::int64_t>(m), r1 = static_cast<std::int64_t>(a % m), t0 = 0, t1 = 1;
    while (r1 != 0) {
        const std::int64_t q = r0 / r1;
        std::int64_t tmp = r0 - q * r1;
        r0 = r1;
        r1 = tmp;
        tmp = t0 - q * t1;
        t0 = t1;
        t1 = tmp;
    }
    return static_cast<std::uint64_t>(t0 < 0 ? t0 + static_cast<std::int64_t>(m) : t0);
}

// Polynomials in y over the field: coefficient j is c[j], degree -1 for 0.
struct FieldPolynomial {
    std::uint64_t c[65] = {};
    int degree = -1;
    void trim() {
        while (degree >= 0 && c[degree] == 0) --degree;
    }
};

void make_monic(const FieldLog& log, FieldPolynomial& a) {
    if (a.degree < 0 || a.c[a.degree] == 1) return;
    const std::uint64_t inverse = power_of(log, a.c[a.degree], mersenne(log.f.degree) - 1);
    for (int j = 0; j <= a.degree; ++j) a.c[j] = mul(log, a.c[j], inverse);
}

// a mod b for a monic b.
void reduce(const FieldLog& log, FieldPolynomial& a, const FieldPolynomial& b) {
    for (int i = a.degree; i >= b.degree; --i) {
        const std::uint64_t q = a.c[i];
        if (q == 0) continue;
        for (int j = 0; j <= b.degree; ++j) a.c[i - b.degree + j] ^= b.c[j] == 1 ? q : mul(log, q, b.c[j]);
    }
    if (a.degree >= b.degree) a.degree = b.degree - 1;
    a.trim();
}

FieldPolynomial monic_gcd(const FieldLog& log, FieldPolynomial a, FieldPolynomial b) {
    while (b.degree >= 0) {
        make_monic(log, b);
        reduce(log, a, b);
        std::swap(a, b);
    }
    make_monic(log, a);
    return a;
}

}  // namespace

bool prepare_field_log(FieldLog& log, PolyWord f, StopCheck stop) {
    const int n = f.degree;
    log.f = f;
    log.modulus = gf2::make_wide_modulus(f.value, n);
    log.arith = &wide_arithmetic();
    log.primes.clear();
    const std::uint64_t order = mersenne(n);
    const MersenneFactors& factors = mersenne_factors(n);
    for (int i = 0; i < factors.count(); ++i) {
        FieldLog::Prime p;
        p.prime = factors.factors[i].prime;
        p.exponent = factors.factors[i].exponent;
        p.power = 1;
        for (int e = 0; e < p.exponent; ++e) p.power *= p.prime;
        p.cofactor = order / p.power;
        p.baby_steps = p.prime < MAX_BABY_STEPS ? p.prime : MAX_BABY_STEPS;
        // The tables are zeroed a piece at a time, the stop asked between:
        // the first touch of their 16 MiB can take longer than a stop may wait.
        const std::size_t size = std::bit_ceil(2 * p.baby_steps);
        p.keys.clear();
        p.values.clear();
        p.keys.reserve(size);
        p.values.reserve(size);
        for (std::size_t at = 0; at < size;) {
            at = std::min(size, at + ZEROED_PIECE);
            p.keys.resize(at, 0);
            p.values.resize(at, 0);
            if (stop != nullptr && stop()) return false;
        }
        const std::uint64_t generator = power_of(log, x_residue(n), order / p.prime);
        std::uint64_t v = 1;
        for (std::uint64_t j = 0; j < p.baby_steps; ++j) {
            insert(p, v, j);
            v = mul(log, v, generator);
            if ((j & 0xFFFF) == 0xFFFF && stop != nullptr && stop()) return false;
        }
        p.giant = power_of(log, v, p.prime - 1);  // v^-1, as v^p = 1
        log.primes.push_back(std::move(p));
    }
    return true;
}

std::uint64_t field_log(const FieldLog& log, std::uint64_t a) {
    std::uint64_t result = 0, modulus = 1;  // the logarithm mod the prime powers so far
    for (const FieldLog::Prime& p : log.primes) {
        // In the subgroup of order p^e: h = base^x, x found digit by digit in base p.
        const std::uint64_t h = power_of(log, a, p.cofactor);
        const std::uint64_t base = power_of(log, x_residue(log.f.degree), p.cofactor);
        std::uint64_t x = 0, place = 1;
        for (int k = 0; k < p.exponent; ++k) {
            std::uint64_t c = mul(log, h, power_of(log, base, (p.power - x) % p.power));
            for (int e = k + 1; e < p.exponent; ++e) c = power_of(log, c, p.prime);
            x += baby_giant(log, p, c) * place;
            place *= p.prime;
        }
        // Chinese remainders: result + modulus * t = x mod p^e.
        const std::uint64_t gap = (x + p.power - result % p.power) % p.power;
        const std::uint64_t t = gap * small_inverse(modulus % p.power, p.power) % p.power;
        result += modulus * t;
        modulus *= p.power;
    }
    return result;
}

std::uint64_t field_root(const FieldLog& log, PolyWord g) {
    const int n = g.degree;
    const WideArithmetic& arith = *log.arith;
    // y^(2^i) mod g, i < n, as coefficient words over GF(2).
    const gf2::WideModulus gm = gf2::make_wide_modulus(g.value, n);
    std::uint64_t frobenius[64];
    frobenius[0] = x_residue(n);
    for (int i = 1; i < n; ++i) frobenius[i] = arith.multiply(gm, frobenius[i - 1], frobenius[i - 1]);

    FieldPolynomial h;
    h.degree = n;
    for (int j = 0; j <= n; ++j) h.c[j] = coefficient(g, j) ? 1u : 0u;
    // c runs through x, x^2, x^3, ...: Tr(c (b1 + b2)) is then an M-sequence
    // in the exponent, so any two roots are told apart within n tries.
    std::uint64_t c = 1;
    // Bounded all the same: a g that does not split (not irreducible) ends
    // with a wrong answer, which decimation_of's check refuses.
    for (int tries = 0; h.degree > 1 && tries < 8 * n; ++tries) {
        c = mul(log, c, x_residue(n));
        std::uint64_t conjugate[64];
        conjugate[0] = c;
        for (int i = 1; i < n; ++i) conjugate[i] = mul(log, conjugate[i - 1], conjugate[i - 1]);
        FieldPolynomial trace;
        for (int i = 0; i < n; ++i) {
            for (std::uint64_t bits = frobenius[i]; bits != 0; bits &= bits - 1) {
                trace.c[std::countr_zero(bits)] ^= conjugate[i];
            }
        }
        trace.degree = n - 1;
        trace.trim();
        FieldPolynomial part = monic_gcd(log, h, trace);
        if (part.degree <= 0 || part.degree == h.degree) continue;
        if (2 * part.degree > h.degree) {
            // The other roots, those of trace 1, are fewer.
            trace.c[0] ^= 1;
            if (trace.degree < 0) trace.degree = 0;
            trace.trim();
            part = monic_gcd(log, h, trace);
        }
        h = part;
    }
    return h.c[0];
}

}  // namespace tapwell

// Ring: core. See decimation.h.
#include "core/decimation.h"

#include <algorithm>
#include <numeric>

#include "core/bit_words.h"
#include "core/gf2_wide.h"
#include "core/poly_order.h"

namespace tapwell {

namespace {

std::uint64_t rotate_left(std::uint64_t r, int n) { return ((r << 1) | (r >> (n - 1))) & mersenne(n); }

// a + b mod 2^n - 1 for a, b below it; 2^n = 1 there, so a carry out of
// bit n - 1 comes back in at bit 0.
std::uint64_t mersenne_sum(std::uint64_t a, std::uint64_t b, int n) {
    const std::uint64_t m = mersenne(n);
    std::uint64_t s = a + b;
    if (n == 64) {
        if (s < a) ++s;
    } else if (s >= m) {
        s -= m;
    }
    return s == m ? 0 : s;
}

std::uint64_t mersenne_difference(std::uint64_t a, std::uint64_t b, int n) {
    return a >= b ? a - b : a + (mersenne(n) - b);
}

}  // namespace

std::uint64_t coset_leader(std::uint64_t d, int n) {
    std::uint64_t best = d, r = d;
    for (int i = 1; i < n; ++i) {
        r = rotate_left(r, n);
        if (r < best) best = r;
    }
    return best;
}

std::uint64_t mersenne_product(std::uint64_t a, std::uint64_t b, int n) {
    // Doubling is a rotation of the n bits: b's bits from the top, Horner's way.
    std::uint64_t r = 0;
    for (int bit = 63; bit >= 0; --bit) {
        r = rotate_left(r, n);
        if (b >> bit & 1u) r = mersenne_sum(r, a, n);
    }
    return r;
}

std::uint64_t mersenne_inverse(std::uint64_t d, int n) {
    const std::uint64_t m = mersenne(n);
    std::uint64_t r0 = m, r1 = d % m, t0 = 0, t1 = 1;
    while (r1 != 0) {
        const std::uint64_t q = r0 / r1;
        const std::uint64_t r2 = r0 - q * r1;
        const std::uint64_t t2 = mersenne_difference(t0, mersenne_product(q % m, t1, n), n);
        r0 = r1;
        r1 = r2;
        t0 = t1;
        t1 = t2;
    }
    return r0 == 1 ? t0 : 0;
}

PolyWord decimation_polynomial(PolyWord f, std::uint64_t d, BerlekampMassey& bm) {
    const int n = f.degree;
    const WideArithmetic& arith = wide_arithmetic();
    const gf2::WideModulus m = gf2::make_wide_modulus(f.value, n);
    // u_j = the constant term of x^j mod f: the map x^j -> u_j is linear and
    // sends every multiple of f to 0 (the recurrence), and from state 1 the
    // first n terms are 1, 0, ..., 0.
    const std::uint64_t step = arith.power(m, x_residue(n), d);
    std::uint64_t terms[2] = {0, 0};
    std::uint64_t r = 1;
    for (int k = 0; k < 2 * n; ++k) {
        if (r & 1u) set_bit(terms, static_cast<std::size_t>(k));
        r = arith.multiply(m, r, step);
    }
    const PolyWord g = characteristic_polynomial(bm.run(terms, static_cast<std::size_t>(2 * n)));
    return g.degree == n ? g : PolyWord{};
}

std::uint64_t decimation_of(const FieldLog& log, PolyWord g, BerlekampMassey& bm) {
    const std::uint64_t d = field_log(log, field_root(log, g));
    return decimation_polynomial(log.f, d, bm) == g ? d : 0;
}

const char* partner_family_name(PartnerFamily family) noexcept {
    switch (family) {
        case PartnerFamily::gold: return "Gold";
        case PartnerFamily::kasami: return "Kasami";
        case PartnerFamily::other: break;
    }
    return "other";
}

std::vector<FamilyDecimation> preferred_family_decimations(int n) {
    std::vector<FamilyDecimation> direct;
    if (n % 4 == 0) return direct;
    const int wanted_gcd = n % 2 != 0 ? 1 : 2;
    for (PartnerFamily family : {PartnerFamily::gold, PartnerFamily::kasami}) {
        for (int k = 1; 2 * k < n; ++k) {
            if (std::gcd(n, k) != wanted_gcd) continue;
            const std::uint64_t p = std::uint64_t{1} << k;
            direct.push_back({family == PartnerFamily::gold ? p + 1 : p * p - p + 1, family, k, false});
        }
    }
    std::vector<FamilyDecimation> all = direct;
    for (const FamilyDecimation& f : direct) {
        all.push_back({coset_leader(mersenne_inverse(f.d, n), n), f.family, f.k, true});
    }
    // One per coset, the first named.
    std::vector<FamilyDecimation> kept;
    std::vector<std::uint64_t> seen;
    for (const FamilyDecimation& f : all) {
        const std::uint64_t leader = coset_leader(f.d, n);
        if (std::find(seen.begin(), seen.end(), leader) != seen.end()) continue;
        seen.push_back(leader);
        kept.push_back(f);
    }
    return kept;
}

std::vector<std::uint64_t> family_leaders(int n) {
    std::vector<std::uint64_t> leaders;
    for (const FamilyDecimation& f : preferred_family_decimations(n)) leaders.push_back(coset_leader(f.d, n));
    std::sort(leaders.begin(), leaders.end());
    return leaders;
}

PairVerdict verdict_by_theorem(std::uint64_t q, int n, const std::vector<std::uint64_t>& preferred_leaders) {
    if (n % 4 == 0) return PairVerdict::not_preferred;
    return std::binary_search(preferred_leaders.begin(), preferred_leaders.end(), coset_leader(q, n))
               ? PairVerdict::preferred
               : PairVerdict::unknown;
}

}  // namespace tapwell

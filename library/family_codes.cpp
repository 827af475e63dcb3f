// Ring: library. tapwell/families.hpp's codes: Gold families, Kasami sets and
// the presets' codes. Every member is a sum of up to three registers, each
// read from its own clock (core/register_jump.h), so that any chip of any
// member at any degree is set up in a few hundred products; whole families
// are built from one period of each register, rotated.
#include <algorithm>
#include <limits>
#include <string>

#include "core/berlekamp_massey.h"
#include "core/bit_words.h"
#include "core/decimation.h"
#include "core/mersenne.h"
#include "core/register_jump.h"
#include "core/shift_register.h"
#include "library/api_support.h"
#include "library/poly_conversion.h"
#include "library/refusals.h"
#include "tapwell/families.hpp"
#include "tapwell/preferred_values.hpp"

namespace tapwell {

namespace {

// Whole periods and whole families held in memory: no more chips than this.
constexpr int WHOLE_CODE_MAX_DEGREE = 30;
constexpr std::uint64_t WHOLE_FAMILY_MAX_CHIPS = std::uint64_t{1} << 31;

// A register in Fibonacci form and its state at chip 0 of the member.
struct Strand {
    PolyWord poly;
    std::uint64_t state = 1;
    std::uint64_t period() const { return mersenne(poly.degree); }
};

// (a + b) mod p for a, b below p, without the overflow of a + b near 2^64.
std::uint64_t add_mod(std::uint64_t a, std::uint64_t b, std::uint64_t p) { return a >= p - b ? a - (p - b) : a + b; }

// chips[i] ^= the strand's output at clock shift + first + i.
void add_strand(const Strand& s, std::uint64_t shift, std::uint64_t first, std::span<std::uint8_t> chips) {
    const std::uint64_t p = s.period();
    std::uint64_t state = register_jump64(s.poly, s.state, add_mod(shift % p, first % p, p));
    const std::uint64_t top = top_of(s.poly), taps = taps_of64(s.poly.value, top);
    for (std::uint8_t& chip : chips) {
        chip ^= static_cast<std::uint8_t>(state & 1u);
        state = register_step64(state, taps, top);
    }
}

// The strand whose output is u's (from state 1) decimated by d: its
// polynomial by Berlekamp-Massey on 2 L terms, L = `degree`, and its state
// from the first L of them.
Strand decimated(PolyWord u, std::uint64_t d, int degree) {
    std::uint64_t terms[2] = {0, 0};
    std::uint64_t clock = 0;
    for (int j = 0; j < 2 * degree; ++j) {
        if (register_jump64(u, 1, clock) & 1u) set_bit(terms, static_cast<std::size_t>(j));
        clock = add_mod(clock, d % mersenne(u.degree), mersenne(u.degree));
    }
    BerlekampMassey bm;
    const PolyWord g = characteristic_polynomial(bm.run(terms, static_cast<std::size_t>(2 * degree)));
    if (g.degree != degree) throw Error("a decimation of " + std::to_string(u.degree) + " did not give degree " +
                                        std::to_string(degree) + "; this is a fault of tapwell");
    return {g, terms[0] & mersenne(degree)};
}

void refuse_primitive(PolyWord p, std::string_view what, int lowest) {
    refuse(degree_refusal(p, what, lowest, MAX_POLYNOMIAL_DEGREE));
    if (!polynomial_of_word(p).is_primitive()) {
        throw InvalidArgument(std::string(what) + ": " + polynomial_of_word(p).format() +
                              " is not primitive: a family is built of M-sequences");
    }
}

// k of an index naming u + T^k v, or u or v alone.
void refuse_gold_index(std::int64_t k, int n, const char* what) {
    const std::uint64_t shifts = mersenne(n);
    if (k >= GOLD_U && (k < 0 || static_cast<std::uint64_t>(k) < shifts)) return;
    throw InvalidArgument(std::string(what) + " " + std::to_string(k) + " is outside the family of degree " +
                          std::to_string(n) + ": -2 (u), -1 (v) or 0 to " + std::to_string(shifts - 1));
}

// The strands of a member of (u, v, ...): u, v or u + T^k v.
void add_gold_member(const Strand& u, const Strand& v, std::int64_t k, std::uint64_t first,
                     std::span<std::uint8_t> chips) {
    if (k != GOLD_V) add_strand(u, 0, first, chips);
    if (k != GOLD_U) add_strand(v, k >= 0 ? static_cast<std::uint64_t>(k) : 0, first, chips);
}

std::uint64_t whole_length(int n) {
    if (n > WHOLE_CODE_MAX_DEGREE) {
        throw InvalidArgument("a whole period is held in memory up to degree " +
                              std::to_string(WHOLE_CODE_MAX_DEGREE) + "; this one has degree " + std::to_string(n) +
                              ": ask for chips from a position instead");
    }
    return mersenne(n);
}

void refuse_family_chips(std::uint64_t codes, std::uint64_t length) {
    if (codes <= WHOLE_FAMILY_MAX_CHIPS / length) return;
    throw InvalidArgument("a whole family is held in memory up to 2^31 chips; this one has " +
                          std::to_string(codes) + " codes of " + std::to_string(length));
}

struct KasamiStrands {
    int n;
    Strand u, v, w;
};

KasamiStrands kasami_strands(KasamiSet set, Polynomial poly) {
    const PolyWord u = word_of(poly);
    refuse_primitive(u, "U", 4);
    const int n = u.degree;
    if (n % 2 != 0) {
        throw InvalidArgument("U has degree " + std::to_string(n) + ": a Kasami set takes an even degree");
    }
    if (set == KasamiSet::large && n % 4 != 2) {
        throw InvalidArgument("U has degree " + std::to_string(n) + ": the large Kasami set takes a degree of 2 mod 4");
    }
    KasamiStrands s{n, {u, 1}, {}, {}};
    s.w = decimated(u, (std::uint64_t{1} << (n / 2)) + 1, n / 2);
    if (set == KasamiSet::large) s.v = decimated(u, (std::uint64_t{1} << (n / 2 + 1)) + 1, n);
    return s;
}

void refuse_kasami_index(KasamiSet set, int n, KasamiIndex index) {
    if (set == KasamiSet::small && index.k != GOLD_U) {
        throw InvalidArgument("k " + std::to_string(index.k) + ": the small Kasami set has k = -2 (u) only");
    }
    refuse_gold_index(index.k, n, "k");
    const std::uint64_t shifts = mersenne(n / 2);
    if (index.m >= -1 && (index.m < 0 || static_cast<std::uint64_t>(index.m) < shifts)) return;
    throw InvalidArgument("m " + std::to_string(index.m) + " is outside the Kasami set of degree " +
                          std::to_string(n) + ": -1 (no w) or 0 to " + std::to_string(shifts - 1));
}

void add_kasami_member(const KasamiStrands& s, KasamiIndex index, std::uint64_t first,
                       std::span<std::uint8_t> chips) {
    add_gold_member(s.u, s.v, index.k, first, chips);
    if (index.m >= 0) add_strand(s.w, static_cast<std::uint64_t>(index.m), first, chips);
}

// chips[i] = period[(shift + i) mod N] for one whole period.
void rotated(const std::vector<std::uint8_t>& period, std::uint64_t shift, std::uint8_t* out) {
    const std::size_t n = period.size(), s = static_cast<std::size_t>(shift % n);
    std::copy(period.begin() + static_cast<std::ptrdiff_t>(s), period.end(), out);
    std::copy(period.begin(), period.begin() + static_cast<std::ptrdiff_t>(s), out + (n - s));
}

std::vector<std::uint8_t> strand_period(const Strand& s, std::size_t length) {
    std::vector<std::uint8_t> chips(length, 0);
    add_strand(s, 0, 0, chips);
    return chips;
}

}  // namespace

void gold_code(const GoldPair& pair, std::int64_t index, std::span<std::uint8_t> chips, std::uint64_t first_chip) {
    const PolyWord u = word_of(pair.u), v = word_of(pair.v);
    refuse_primitive(u, "U", WINDOW_MIN_DEGREE);
    refuse_primitive(v, "V", WINDOW_MIN_DEGREE);
    refuse(same_degree_refusal(u, v));
    refuse_gold_index(index, u.degree, "index");
    std::fill(chips.begin(), chips.end(), std::uint8_t{0});
    add_gold_member({u, 1}, {v, 1}, index, first_chip, chips);
}

std::vector<std::uint8_t> gold_code(const GoldPair& pair, std::int64_t index) {
    std::vector<std::uint8_t> chips(whole_length(pair.u.degree()));
    gold_code(pair, index, chips);
    return chips;
}

std::vector<std::uint8_t> gold_family(const GoldPair& pair) {
    const std::vector<std::uint8_t> u = gold_code(pair, GOLD_U), v = gold_code(pair, GOLD_V);
    const std::size_t n = u.size();
    refuse_family_chips(n + 2, n);
    std::vector<std::uint8_t> chips((n + 2) * n);
    std::copy(u.begin(), u.end(), chips.begin());
    std::copy(v.begin(), v.end(), chips.begin() + static_cast<std::ptrdiff_t>(n));
    for (std::size_t k = 0; k < n; ++k) {
        std::uint8_t* member = chips.data() + (k + 2) * n;
        rotated(v, k, member);
        for (std::size_t t = 0; t < n; ++t) member[t] ^= u[t];
    }
    return chips;
}

std::vector<std::int64_t> gold_values(int n) {
    const std::int64_t t = preferred_t(n);
    return {-t, -1, t - 2};
}

void kasami_code(KasamiSet set, Polynomial u, KasamiIndex index, std::span<std::uint8_t> chips,
                 std::uint64_t first_chip) {
    const KasamiStrands s = kasami_strands(set, u);
    refuse_kasami_index(set, s.n, index);
    std::fill(chips.begin(), chips.end(), std::uint8_t{0});
    add_kasami_member(s, index, first_chip, chips);
}

std::vector<std::uint8_t> kasami_code(KasamiSet set, Polynomial u, KasamiIndex index) {
    std::vector<std::uint8_t> chips(whole_length(u.degree()));
    kasami_code(set, u, index, chips);
    return chips;
}

std::uint64_t kasami_set_size(KasamiSet set, int n) {
    if (n < 4 || n % 2 != 0 || (set == KasamiSet::large && (n % 4 != 2 || n > 42)) || n > 64) {
        throw InvalidArgument("no Kasami set of degree " + std::to_string(n) + " is counted here");
    }
    const std::uint64_t half = n == 64 ? std::uint64_t{1} << 32 : std::uint64_t{1} << (n / 2);
    return set == KasamiSet::small ? half : ((std::uint64_t{1} << n) + 1) * half;
}

KasamiIndex kasami_index(KasamiSet set, int n, std::uint64_t i) {
    const std::uint64_t size = kasami_set_size(set, n), per_k = std::uint64_t{1} << (n / 2);
    if (i >= size) {
        throw InvalidArgument("code " + std::to_string(i) + " is outside the Kasami set of " + std::to_string(size));
    }
    return {static_cast<std::int64_t>(i / per_k) + GOLD_U, static_cast<std::int64_t>(i % per_k) - 1};
}

std::vector<std::uint8_t> kasami_family(KasamiSet set, Polynomial u) {
    const KasamiStrands s = kasami_strands(set, u);
    const std::size_t n = whole_length(s.n);
    const std::uint64_t size = kasami_set_size(set, s.n);
    refuse_family_chips(size, n);
    const std::vector<std::uint8_t> up = strand_period(s.u, n), wp = strand_period(s.w, n);
    const std::vector<std::uint8_t> vp = set == KasamiSet::large ? strand_period(s.v, n) : std::vector<std::uint8_t>(n);
    std::vector<std::uint8_t> chips(size * n), shifted(n);
    for (std::uint64_t i = 0; i < size; ++i) {
        const KasamiIndex index = kasami_index(set, s.n, i);
        std::uint8_t* member = chips.data() + i * n;
        // The Gold-like part, then w.
        if (index.k == GOLD_U) {
            std::copy(up.begin(), up.end(), member);
        } else {
            rotated(vp, index.k >= 0 ? static_cast<std::uint64_t>(index.k) : 0, member);
            if (index.k >= 0) {
                for (std::size_t t = 0; t < n; ++t) member[t] ^= up[t];
            }
        }
        if (index.m >= 0) {
            rotated(wp, static_cast<std::uint64_t>(index.m), shifted.data());
            for (std::size_t t = 0; t < n; ++t) member[t] ^= shifted[t];
        }
    }
    return chips;
}

std::vector<std::int64_t> kasami_values(KasamiSet set, int n) {
    const std::int64_t s = (std::int64_t{1} << (n / 2)) + 1;
    if (set == KasamiSet::small) return {-s, -1, s - 2};
    const std::int64_t t = preferred_t(n);
    return {-t, -s, -1, s - 2, t - 2};
}

std::vector<std::uint8_t> preset_code(const Preset& preset) {
    if (preset.registers.empty()) throw InvalidArgument("preset " + preset.name + " has no register");
    // A standard that cuts its code short (BeiDou B1I: 2046 chips of a
    // degree-11 register) says so in its origin; the others are one period.
    const std::uint64_t length = preset.origin.code_length != 0
                                     ? preset.origin.code_length
                                     : mersenne(preset.registers.front().polynomial.degree());
    if (length > (std::uint64_t{1} << 31)) {
        throw InvalidArgument("preset " + preset.name + "'s code is " + std::to_string(length) +
                              " chips: more than 2^31, too long to hold as one code");
    }
    return preset_bits(preset, static_cast<std::size_t>(length));
}

}  // namespace tapwell

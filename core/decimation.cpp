// Ring: core. See decimation.h.
#include "core/decimation.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <numeric>

#include "core/primitivity.h"
#include "core/shift_register.h"

namespace tapwell {

namespace {

constexpr std::uint32_t STOP_INTERVAL = 1u << 16;  // steps of scattered writes: well under a millisecond

std::uint32_t period_of(int n) { return static_cast<std::uint32_t>((std::uint64_t{1} << n) - 1u); }

// d^-1 mod m for d coprime to m.
std::uint32_t inverse_mod(std::uint32_t d, std::uint32_t m) {
    std::int64_t r0 = m, r1 = d, t0 = 0, t1 = 1;
    while (r1 != 0) {
        const std::int64_t q = r0 / r1;
        std::int64_t tmp = r0 - q * r1;
        r0 = r1;
        r1 = tmp;
        tmp = t0 - q * t1;
        t0 = t1;
        t1 = tmp;
    }
    if (t0 < 0) t0 += m;
    return static_cast<std::uint32_t>(t0);
}

}  // namespace

bool make_reference(ReferenceSequence& u, std::uint32_t poly, int n, StopCheck stop) {
    u.n = n;
    u.period = period_of(n);
    u.poly = poly;
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t mask = top | (top - 1u);
    u.taps = taps_of(poly, top);
    u.bits.assign((static_cast<std::size_t>(u.period) + 63) / 64, 0);
    std::uint32_t w = 1;
    for (std::uint32_t k = 0; k < u.period; ++k) {
        u.bits[k >> 6] |= static_cast<std::uint64_t>(w & 1u) << (k & 63);
        w = transposed_step(w, u.taps, top, mask);
        if ((k & (STOP_INTERVAL - 1)) == STOP_INTERVAL - 1 && stop != nullptr && stop()) return false;
    }
    return true;
}

std::uint32_t decimation_polynomial(const ReferenceSequence& u, std::uint32_t d, BerlekampMassey& bm) {
    const int n = u.n;
    // 2n terms decide a recurrence of length n; n <= 32, so they fit one word.
    std::uint64_t terms = 0;
    std::uint64_t index = 0;
    for (int i = 0; i < 2 * n; ++i) {
        terms |= static_cast<std::uint64_t>(u.at(static_cast<std::uint32_t>(index))) << i;
        index += d;
        if (index >= u.period) index %= u.period;
    }
    const Polynomial g = characteristic_polynomial(bm.run(&terms, static_cast<std::size_t>(2 * n)));
    return g.degree == n ? static_cast<std::uint32_t>(g.value) : 0u;
}

std::uint32_t decimation_polynomial(const ReferenceSequence& u, std::uint32_t d) {
    BerlekampMassey bm;
    return decimation_polynomial(u, d, bm);
}

std::uint32_t coset_leader(std::uint32_t d, int n) {
    const std::uint32_t mask = period_of(n);
    std::uint32_t best = d, r = d;
    for (int i = 1; i < n; ++i) {
        r = ((r << 1) | (r >> (n - 1))) & mask;
        if (r < best) best = r;
    }
    return best;
}

PairVerdict decimation_preferred(const ReferenceSequence& u, std::uint32_t q, std::int32_t* buffer, StopCheck stop) {
    const int n = u.n;
    const std::uint32_t period = u.period;
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t mask = period;
    const std::size_t size = std::size_t{1} << n;
    for (std::size_t at = 0; at < size; at += STOP_INTERVAL) {
        const std::size_t piece = size - at < STOP_INTERVAL ? size - at : STOP_INTERVAL;
        std::memset(buffer + at, 0, piece * sizeof(std::int32_t));
        if (stop != nullptr && stop()) return PairVerdict::stopped;
    }
    // A = u decimated by q (read from u), B = the reference register itself.
    std::uint32_t w = 1, index = 0;
    for (std::uint32_t k = 0; k < period;) {
        const std::uint32_t end = period - k < STOP_INTERVAL ? period : k + STOP_INTERVAL;
        for (; k < end; ++k) {
            buffer[w] += u.at(index) ? -1 : 1;
            w = transposed_step(w, u.taps, top, mask);
            index += q;
            if (index >= period) index -= period;
        }
        if (stop != nullptr && stop()) return PairVerdict::stopped;
    }
    if (!walsh_hadamard(buffer, n, stop)) return PairVerdict::stopped;
    const std::int64_t t = preferred_t(n);
    for (std::uint32_t s = 1; s <= period; ++s) {
        const std::int32_t r = buffer[s];
        if (r != -1 && r != t - 2 && r != -t) return PairVerdict::not_preferred;
    }
    return PairVerdict::preferred;
}

namespace {

// The tables of prepare_pair_classifier; may throw std::bad_alloc.
bool prepare_tables(PairClassifier& c, const std::uint32_t* list, std::size_t count, int n, StopCheck stop) {
    if (n < 3 || n > DECIMATION_MAX_DEGREE) return true;
    const std::uint32_t period = period_of(n);
    // The usable entries: primitive of degree n. The first is the reference.
    std::vector<std::pair<std::uint32_t, std::size_t>> wanted;  // (polynomial, entry)
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t g = list[i];
        if ((g >> (n - 1)) != 1u) continue;
        if (!is_primitive_fast(g, n)) continue;
        wanted.emplace_back(g, i);
        if ((i & 1023) == 0 && stop != nullptr && stop()) return false;
    }
    if (wanted.empty()) return true;
    if (!make_reference(c.u, wanted.front().first, n, stop)) return false;
    std::sort(wanted.begin(), wanted.end());
    std::size_t missing = 0;  // distinct polynomials still without a decimation
    for (std::size_t k = 0; k < wanted.size(); ++k) missing += (k == 0 || wanted[k].first != wanted[k - 1].first);
    // Walk the coset leaders coprime to 2^n - 1 until every wanted polynomial
    // has its decimation.
    std::vector<std::uint64_t> seen((static_cast<std::size_t>(period) + 64) / 64, 0);
    for (std::uint32_t d = 1; d < period && missing != 0; ++d) {
        if ((d & 0xFFFF) == 0 && stop != nullptr && stop()) return false;
        if (seen[d >> 6] >> (d & 63) & 1u) continue;
        std::uint32_t r = d;
        for (int i = 0; i < n; ++i) {
            seen[r >> 6] |= std::uint64_t{1} << (r & 63);
            r = ((r << 1) | (r >> (n - 1))) & period;
        }
        if (std::gcd(d, period) != 1) continue;
        const std::uint32_t g = decimation_polynomial(c.u, d, c.bm);
        auto it = std::lower_bound(wanted.begin(), wanted.end(), std::make_pair(g, std::size_t{0}));
        if (it == wanted.end() || it->first != g) continue;
        for (; it != wanted.end() && it->first == g; ++it) {
            c.decimation[it->second] = d;
            c.inverse[it->second] = inverse_mod(d, period);
        }
        --missing;
    }
    c.verdict.assign(std::size_t{1} << n, 0);
    c.buffer.reset(new std::int32_t[std::size_t{1} << n]);  // cleared by each use
    return true;
}

}  // namespace

bool prepare_pair_classifier(PairClassifier& c, const std::uint32_t* list, std::size_t count, int n, StopCheck stop) {
    c.decimation.assign(count, 0);
    c.inverse.assign(count, 0);
    c.verdict.clear();
    c.buffer.reset();
    try {
        return prepare_tables(c, list, count, n, stop);
    } catch (const std::bad_alloc&) {
        // Without the memory for the tables every pair is stepped.
        std::fill(c.decimation.begin(), c.decimation.end(), 0u);
        c.verdict = {};
        c.buffer.reset();
        return true;
    }
}

PairVerdict classify_pair(PairClassifier& c, std::size_t i, std::size_t j, StopCheck stop) {
    const std::uint32_t da = c.decimation[i], db = c.decimation[j];
    if (da == 0 || db == 0) return PairVerdict::unknown;
    const std::uint32_t period = c.u.period;
    const auto q = static_cast<std::uint32_t>(static_cast<std::uint64_t>(db) * c.inverse[i] % period);
    const std::uint32_t leader = coset_leader(q, c.u.n);
    std::uint8_t& known = c.verdict[leader];
    if (known == 0) {
        const PairVerdict v = decimation_preferred(c.u, leader, c.buffer.get(), stop);
        if (v == PairVerdict::stopped) return v;
        known = (v == PairVerdict::preferred) ? 1 : 2;
    }
    return known == 1 ? PairVerdict::preferred : PairVerdict::not_preferred;
}

}  // namespace tapwell

// Ring: library. See partners.h.
#include "library/partners.h"

#include <algorithm>
#include <memory>
#include <numeric>

#include "core/decimation.h"
#include "core/phase_words.h"
#include "core/poly_order.h"
#include "tapwell/preferred_values.hpp"
#include "core/shift_register.h"

namespace tapwell {

namespace {

constexpr std::size_t COSET_BLOCK = 32;  // cosets a task when every coset is examined

enum : std::uint8_t { NOT_PREFERRED = 0, BY_THEOREM = 1, TO_COMPUTE = 2 };

struct Candidate {
    std::uint64_t d;
    PolyWord poly;
    PartnerFamily family;
    bool by_theorem;
    bool compute;  // all phases to be computed
};


// Not preferred when a first phase says so; otherwise TO_COMPUTE.
std::uint8_t first_phases(PhaseWords& plan, PolyWord f, PolyWord g, const std::stop_token& stop) {
    const FirstPhases verdict = first_phases_of(plan, f.degree, taps_of(f), taps_of(g), stop);
    return verdict == FirstPhases::not_preferred ? NOT_PREFERRED : TO_COMPUTE;
}

// Every coset coprime to 2^n - 1, decided; the preferred ones become candidates.
bool examine_every_coset(WorkerPool& pool, PolyWord f, const std::vector<FamilyDecimation>& family,
                         std::vector<Candidate>& candidates, PartnerProgress* progress) {
    const int n = f.degree;
    const std::uint64_t m = mersenne(n);
    std::vector<std::uint64_t> leaders;
    for (std::uint64_t d = 1; d < m; ++d) {
        if (coset_leader(d, n) == d && std::gcd(d, m) == 1) leaders.push_back(d);
    }
    if (progress != nullptr) progress->total.store(leaders.size(), std::memory_order_relaxed);
    const std::vector<std::uint64_t> by_theorem = family_leaders(n);
    std::vector<std::uint8_t> state(leaders.size(), NOT_PREFERRED);
    std::vector<PolyWord> polys(leaders.size());
    pool.for_each((leaders.size() + COSET_BLOCK - 1) / COSET_BLOCK, [&](std::size_t b) {
        BerlekampMassey bm;
        const auto plan = std::make_unique<PhaseWords>();
        for (std::size_t k = b * COSET_BLOCK; k < leaders.size() && k < (b + 1) * COSET_BLOCK; ++k) {
            if (pool.stopped()) return;
            polys[k] = decimation_polynomial(f, leaders[k], bm);
            state[k] = verdict_by_theorem(leaders[k], n, by_theorem) == PairVerdict::preferred
                           ? std::uint8_t{BY_THEOREM}
                           : first_phases(*plan, f, polys[k], pool.stop_token());
            if (progress != nullptr) progress->done.fetch_add(1, std::memory_order_relaxed);
        }
    });
    if (progress != nullptr) {
        progress->examined.store(progress->done.load(std::memory_order_relaxed), std::memory_order_relaxed);
    }
    if (pool.stopped()) return false;
    for (std::size_t k = 0; k < leaders.size(); ++k) {
        if (state[k] == NOT_PREFERRED) continue;
        Candidate c{leaders[k], polys[k], PartnerFamily::other, state[k] == BY_THEOREM, true};
        for (const FamilyDecimation& named : family) {
            if (coset_leader(named.d, n) != leaders[k]) continue;
            c.d = named.d;
            c.family = named.family;
            break;
        }
        candidates.push_back(c);
    }
    return true;
}

}  // namespace


PartnersEnd find_partners(WorkerPool& pool, PolyWord f, bool exhaustive, bool verify,
                          std::vector<FoundPartner>& partners, PartnerProgress* progress) {
    partners.clear();
    const std::vector<FamilyDecimation> family = preferred_family_decimations(f.degree);
    std::vector<Candidate> candidates;
    if (exhaustive) {
        if (!examine_every_coset(pool, f, family, candidates, progress)) return PartnersEnd::stopped;
    } else {
        BerlekampMassey bm;
        for (const FamilyDecimation& named : family) {
            candidates.push_back({named.d, decimation_polynomial(f, named.d, bm), named.family, true, verify});
        }
    }
    if (progress != nullptr) {
        progress->done.store(0, std::memory_order_relaxed);
        progress->total.store(std::count_if(candidates.begin(), candidates.end(), [](const Candidate& c) { return c.compute; }),
                              std::memory_order_relaxed);
    }
    for (const Candidate& c : candidates) {
        bool verified = false;
        if (c.compute) {
            const SpectrumEnd end = preferred_spectrum(pool, f.degree, taps_of(f), taps_of(c.poly), 32,
                                                       progress != nullptr ? &progress->spectrum : nullptr);
            if (end == SpectrumEnd::stopped) return PartnersEnd::stopped;
            if (end == SpectrumEnd::other_value && c.by_theorem) return PartnersEnd::refuted;
            if (progress != nullptr) progress->done.fetch_add(1, std::memory_order_relaxed);
            if (end == SpectrumEnd::other_value) continue;
            verified = true;
        }
        partners.push_back({c.poly, c.d, c.family, verified});
    }
    std::sort(partners.begin(), partners.end(),
              [](const FoundPartner& a, const FoundPartner& b) { return a.poly.value < b.poly.value; });
    return PartnersEnd::found;
}

}  // namespace tapwell

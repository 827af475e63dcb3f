// Ring: library. The preferred partners of one primitive polynomial f of degree
// 5 to 64 (tapwell-cli partner), on the job's pool, looking at the stop flag.
//
// A partner is f's M-sequence decimated by d, its polynomial found by
// Berlekamp-Massey (core/decimation). By default the decimations are the Gold
// and Kasami ones with their inverses, preferred by theorem; with every coset
// examined (to degree 20) each coset's pair is decided as the pair search
// decides it: by theorem, by its first phases (core/phase_words) or by all
// its phases (jobs/pair_phases), so the list is complete. Verified partners
// (to degree 32) have had all their phases computed.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "core/poly_word.h"
#include "tapwell/pairs.hpp"
#include "library/pair_phases.h"
#include "runtime/worker_pool.h"

namespace tapwell {

// The degrees up to which every coset may be examined, and up to which all
// phases may be computed.
constexpr int PARTNER_EXHAUSTIVE_MAX_DEGREE = 20;
constexpr int PARTNER_VERIFY_MAX_DEGREE = 32;

struct FoundPartner {
    PolyWord poly;
    std::uint64_t decimation;  // the family's value, or the least of its coset
    PartnerFamily family;
    bool verified;             // all phases computed; otherwise known by theorem
};

// How far the search has come: cosets examined or partners verified, of all.
struct PartnerProgress {
    std::atomic<std::uint64_t> done{0};
    std::atomic<std::uint64_t> total{0};
    SpectrumProgress spectrum;  // the pair being verified
    // Where done stood when the exhaustive pass ended: done starts again for
    // the verifications, and tests hold the pass to its total by this.
    std::atomic<std::uint64_t> examined{0};
};

enum class PartnersEnd {
    found,
    stopped,
    refuted,  // a partner by theorem failed its verification: a fault, never expected
};

// f primitive, its degree not divisible by 4; exhaustive up to
// PARTNER_EXHAUSTIVE_MAX_DEGREE, verify up to PARTNER_VERIFY_MAX_DEGREE.
// Partners sorted by polynomial, each once.
PartnersEnd find_partners(WorkerPool& pool, PolyWord f, bool exhaustive, bool verify,
                          std::vector<FoundPartner>& partners, PartnerProgress* progress = nullptr);

}  // namespace tapwell

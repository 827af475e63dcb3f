// Ring: core. Preferred pairs by decimation. Every M-sequence of degree n is
// the reference M-sequence u decimated by some d coprime to 2^n - 1 (u_(d k));
// d and 2d give the same sequence, so only the cyclotomic coset of d counts.
// Two M-sequences u_(dA k) and u_(dB k) have, over all phases, the same
// correlation values as u against u decimated by q = dB / dA mod 2^n - 1; so
// whether a pair is preferred is a property of the coset of q alone, computed
// once per coset by one all-phase correlation and then looked up per pair.
//
// Exact for primitive polynomials of degree n only. Entries of the list that
// are not (another degree, not primitive) are left to the caller, who steps
// those pairs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/berlekamp_massey.h"
#include "core/preferred_values.h"
#include "core/walsh_transform.h"

namespace tapwell {

// The highest degree decided by decimation: above it the tables (2^n bytes
// of verdicts, 2^n 32-bit transform values) and the search for the
// decimations grow beyond what pays; the caller steps instead.
constexpr int DECIMATION_MAX_DEGREE = 24;

// The output u_k of the register of a primitive polynomial value `poly` of
// degree n started from state 1, k = 0..2^n - 2, one bit each.
struct ReferenceSequence {
    int n = 0;
    std::uint32_t period = 0;
    std::uint32_t poly = 0;
    std::uint32_t taps = 0;
    std::vector<std::uint64_t> bits;

    bool at(std::uint32_t k) const { return bits[k >> 6] >> (k & 63) & 1u; }
};

// Returns false when `stop` asked to give up (u is then incomplete).
bool make_reference(ReferenceSequence& u, std::uint32_t poly, int n, StopCheck stop = nullptr);

// The polynomial value (degree n) whose register outputs u decimated by d from
// its start, found by Berlekamp-Massey on 2n terms; 0 when that sequence has a
// shorter recurrence (d not coprime to 2^n - 1).
std::uint32_t decimation_polynomial(const ReferenceSequence& u, std::uint32_t d);
// The same with the caller's buffers, for loops over many d.
std::uint32_t decimation_polynomial(const ReferenceSequence& u, std::uint32_t d, BerlekampMassey& bm);

// The smallest member of d's cyclotomic coset: the least rotation of d's n bits.
std::uint32_t coset_leader(std::uint32_t d, int n);

enum class PairVerdict { not_preferred, preferred, unknown, stopped };

// Whether u against u decimated by q takes only the preferred values over all
// phases. buffer holds 2^n values.
PairVerdict decimation_preferred(const ReferenceSequence& u, std::uint32_t q, std::int32_t* buffer,
                                 StopCheck stop = nullptr);

// The pair test for a fixed list of polynomial values: the decimation of each
// entry, and the verdict of each coset as it is first needed.
struct PairClassifier {
    ReferenceSequence u;
    std::vector<std::uint32_t> decimation;  // per entry; 0 = not known (step that pair)
    std::vector<std::uint32_t> inverse;     // per entry: decimation^-1 mod 2^n - 1
    std::vector<std::uint8_t> verdict;      // per coset leader: 0 unknown, 1 preferred, 2 not
    std::unique_ptr<std::int32_t[]> buffer; // 2^n transform values
    BerlekampMassey bm;                     // buffers of the decimations' recurrences
};

// Prepares the classifier for list[0..count) of degree n. Entries not primitive
// of degree n get decimation 0; when none is, or n is above
// DECIMATION_MAX_DEGREE, every entry does. Returns false when stopped.
bool prepare_pair_classifier(PairClassifier& c, const std::uint32_t* list, std::size_t count, int n,
                             StopCheck stop = nullptr);

// The verdict for entries i and j; unknown when either has no decimation.
PairVerdict classify_pair(PairClassifier& c, std::size_t i, std::size_t j, StopCheck stop = nullptr);

}  // namespace tapwell

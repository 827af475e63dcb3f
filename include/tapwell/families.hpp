// tapwell: code families and their worst case: Gold families and Kasami sets
// of codes, and the exact correlation report of any set of codes.
//
// A code is one period of chips, one byte a chip, 0 or 1. Chip t of a
// register's code is its output at clock t from state 1 (Fibonacci form,
// register_bits in sequences.hpp); as +1/-1 values chip b counts as (-1)^b.
// T^k a is a shifted k chips earlier: (T^k a)_t = a_(t+k mod N). The sum of
// two codes is their chip-wise XOR. N = 2^n - 1 for degree n.
//
// Correlation values are unnormalised and periodic: for codes a and b,
// r_ab(tau) = sum over t of (-1)^(a_t + b_(t+tau mod N)), tau = 0 .. N - 1.
// The odd (data-modulated) correlation flips the sign of the wrapped part,
// as when b's data bit changes at the period's end:
// sum over t < N - tau of (...) minus the sum over t >= N - tau.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "tapwell/export.hpp"
#include "tapwell/pairs.hpp"
#include "tapwell/polynomial.hpp"
#include "tapwell/presets.hpp"
#include "tapwell/run_options.hpp"

namespace tapwell {

// ---- Gold families ----------------------------------------------------------

// Two primitive polynomials of one degree n (3 to 64), normally a preferred
// pair (check_pair, partners in pairs.hpp): only then does the family keep
// to gold_values(n). The pair is not checked for being preferred here.
struct GoldPair {
    Polynomial u;
    Polynomial v;
};

// The 2^n + 1 members of a Gold family are indexed as follows:
//   GOLD_U (-2): u's code;  GOLD_V (-1): v's code;
//   k (0 .. 2^n - 2): u + T^k v.
// At degrees 63 and 64 the index reaches k up to 2^63 - 1 only.
inline constexpr std::int64_t GOLD_U = -2;
inline constexpr std::int64_t GOLD_V = -1;

// Chips first_chip .. first_chip + chips.size() - 1 of member `index`
// (indices past N wrap around the period), set up by a jump, never by
// stepping to first_chip: any degree to 64. Throws InvalidArgument for an
// index outside -2 .. 2^n - 2, polynomials that are not primitive or of
// different degrees, or degrees outside 3 .. 64.
TAPWELL_API void gold_code(const GoldPair& pair, std::int64_t index, std::span<std::uint8_t> chips,
                           std::uint64_t first_chip = 0);
// One whole period of member `index` (degree 3 to 30).
TAPWELL_API std::vector<std::uint8_t> gold_code(const GoldPair& pair, std::int64_t index);
// Every member in index order (-2, -1, 0, ...), one period after another:
// (2^n + 1) N chips; refused above 2^31 chips (degree 15).
TAPWELL_API std::vector<std::uint8_t> gold_family(const GoldPair& pair);

// The values every cross-correlation of a Gold family of a preferred pair
// takes, and every out-of-phase autocorrelation: -t(n), -1, t(n) - 2
// (preferred_values.hpp), in increasing order.
TAPWELL_API std::vector<std::int64_t> gold_values(int n);

// ---- Kasami sets ------------------------------------------------------------

// u of even degree n (4 to 64), primitive. w is u decimated by
// s(n) = 2^(n/2) + 1 (w_t = u_(s t)), of period 2^(n/2) - 1; v (large set
// only, n = 2 mod 4) is u decimated by t(n) = 2^(n/2+1) + 1, an M-sequence of
// degree n.
//   small set: the 2^(n/2) codes u and u + T^m w;
//   large set: (2^n + 1) 2^(n/2) codes: every member g of the Gold-like
//              family of (u, v) (u, v, u + T^k v) alone and plus T^m w.
enum class KasamiSet : int { small = 0, large = 1 };

// A member: k selects from u, v, u + T^k v as a Gold index does (-2 for u,
// -1 for v, k = 0 .. 2^n - 2); m = -1 for no w, m = 0 .. 2^(n/2) - 2 for
// + T^m w. The small set has k = -2 only. At degrees 63 and 64 see GOLD_U.
struct KasamiIndex {
    std::int64_t k = GOLD_U;
    std::int64_t m = -1;
};

// Chips of a member as gold_code gives them. Throws InvalidArgument for an
// odd degree, a large set whose degree is not 2 mod 4, u not primitive, or
// an index outside the set.
TAPWELL_API void kasami_code(KasamiSet set, Polynomial u, KasamiIndex index, std::span<std::uint8_t> chips,
                             std::uint64_t first_chip = 0);
// One whole period (degree up to 30).
TAPWELL_API std::vector<std::uint8_t> kasami_code(KasamiSet set, Polynomial u, KasamiIndex index);
// The number of codes: 2^(n/2), or (2^n + 1) 2^(n/2) (degree up to 42).
TAPWELL_API std::uint64_t kasami_set_size(KasamiSet set, int n);
// The index of the i-th code in the order of kasami_family: m rising fastest
// from -1, then k from -2 (the small set's first code is u itself).
TAPWELL_API KasamiIndex kasami_index(KasamiSet set, int n, std::uint64_t i);
// Every code in that order, one period after another; refused above 2^31 chips.
TAPWELL_API std::vector<std::uint8_t> kasami_family(KasamiSet set, Polynomial u);

// The values of the set's cross-correlations and out-of-phase
// autocorrelations, in increasing order: small {-s(n), -1, s(n) - 2}; large
// {-t(n), -s(n), -1, s(n) - 2, t(n) - 2}.
TAPWELL_API std::vector<std::int64_t> kasami_values(KasamiSet set, int n);

// ---- codes from elsewhere ---------------------------------------------------

// One code of a preset: its standard's code length (origin.code_length)
// where the standard cuts the period short, else one period (2^n - 1 chips
// of register 0's degree), as preset_bits puts it out (the sum of the
// registers, inverted when the standard inverts it). Throws InvalidArgument
// above 2^31 chips.
TAPWELL_API std::vector<std::uint8_t> preset_code(const Preset& preset);

// ---- the correlation report -------------------------------------------------

// The codes whose correlation reaches the largest magnitude, the first such
// in order of (first, second, phase); first < second.
struct CrossPeak {
    std::uint64_t magnitude = 0;
    std::int64_t value = 0;  // the signed correlation there
    std::size_t first = 0;
    std::size_t second = 0;
    std::uint64_t phase = 0;  // tau of r_(first,second)
};
// The largest out-of-phase autocorrelation (tau = 1 .. N - 1), the first in
// order of (code, phase).
struct AutoPeak {
    std::uint64_t magnitude = 0;
    std::int64_t value = 0;
    std::size_t code = 0;
    std::uint64_t phase = 0;
};
struct CorrelationSummary {
    CrossPeak cross;
    AutoPeak autocorrelation;
    // Every cross-correlation value over every unordered pair (first <
    // second) and every phase, with its count; increasing value. The counts
    // add up to K (K - 1) / 2 N.
    std::vector<PairValue> histogram;
};
struct FamilyReport {
    std::size_t codes = 0;   // K
    std::size_t length = 0;  // N
    CorrelationSummary periodic;
    std::optional<CorrelationSummary> odd;  // when asked for
    // Welch's lower bound on the larger of the peak cross-correlation and the
    // peak out-of-phase autocorrelation of any K codes of length N:
    // N sqrt((K - 1) / (K N - 1)).
    double welch_bound = 0.0;
};

struct FamilyCorrelationOptions {
    bool odd = false;  // the odd correlation too (the same transforms, a second count)
    RunOptions run = {};  // progress in pairs of codes done of all pairs
};

// The lengths family_correlation takes: every value is computed by Fourier
// transforms in double precision and rounded; below 2^20 chips the rounding
// is exact with a wide margin (each rounding is also checked).
inline constexpr std::size_t FAMILY_MAX_LENGTH = std::size_t{1} << 20;

// The report of K >= 2 codes of one length N (2 .. FAMILY_MAX_LENGTH) held
// one after another in `chips` (K N chips, each 0 or 1). Every pair and phase
// is computed exactly, on options.run.threads threads; memory is about
// 16 K N bytes for the codes' spectra (of their zero-padded double length)
// and 40 N bytes of scratch and counts per thread. Throws InvalidArgument for another length,
// a chip that is not 0 or 1 (naming the code and chip), fewer than two codes,
// or a build without Fourier transforms; Stopped when stopped.
TAPWELL_API FamilyReport family_correlation(std::span<const std::uint8_t> chips, std::size_t length,
                                            const FamilyCorrelationOptions& options = {});
// The same for chips written +1/-1 (+1 for a 0 chip).
TAPWELL_API FamilyReport family_correlation(std::span<const std::int8_t> chips, std::size_t length,
                                            const FamilyCorrelationOptions& options = {});
// The same for codes held apart; they must all be of one length.
TAPWELL_API FamilyReport family_correlation(std::span<const std::vector<std::uint8_t>> codes,
                                            const FamilyCorrelationOptions& options = {});

// N sqrt((K - 1) / (K N - 1)).
TAPWELL_API double welch_bound(std::size_t codes, std::size_t length);

}  // namespace tapwell

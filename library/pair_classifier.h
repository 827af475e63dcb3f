// Ring: library. The pair test of the preferred pair search for a list of
// polynomials of one degree n (3 to 32), on the job's pool.
//
// Each entry that is primitive of degree n gets its decimation d against the
// first such entry (core/field_log: a root and its logarithm, confirmed by
// Berlekamp-Massey); a pair's verdict is then that of the coset of the ratio
// q = d_j / d_i, decided once and looked up for every later pair. A coset is
// decided exactly, in the cheapest way that decides it: by theorem
// (core/decimation: Gold and Kasami, n divisible by 4), else by the pair's
// first two phases counted 64 steps at a time (core/phase_words), else by
// all its phases in chunks (jobs/pair_phases). Cosets are asked for in
// batches; a batch runs on every thread of the pool at once: up to degree
// 20 each coset on one thread, above each coset's work shared out.
//
// Memory: the decimations (12 bytes an entry), the logarithm tables (at most
// 16 MiB, at degree 31), a byte per ratio up to degree 24 (16 MiB there) or a
// map entry per coset met above, 16 KiB a coset of the batch being counted,
// and the chunk of a pair whose first phases are all preferred (up to 1 GiB,
// as the correlation job; up to degree 20, 4 x 2^n bytes on each thread).
// More threads add nothing else but their stacks.
//
// Entries that are not primitive of degree n get no decimation: the caller
// steps their pairs. So does every pair when the tables cannot be allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/decimation.h"
#include "core/phase_words.h"
#include "runtime/worker_pool.h"

namespace tapwell {

// Up to this degree the verdicts sit in a table with a byte per ratio.
constexpr int PAIR_TABLE_MAX_DEGREE = 24;

struct PairClassifier {
    int n = 0;
    std::uint32_t period = 0;
    std::vector<std::uint32_t> taps;        // per entry
    std::vector<std::uint32_t> decimation;  // per entry; 0: not known (step that pair)
    std::vector<std::uint32_t> inverse;     // per entry: decimation^-1 mod 2^n - 1
    std::vector<std::uint64_t> family;      // the coset leaders preferred by theorem
    std::vector<std::uint8_t> table;        // per ratio up to PAIR_TABLE_MAX_DEGREE
    std::unordered_map<std::uint32_t, std::uint8_t> map;  // per coset leader above
    // For tests: chunks of at most 2^max_chunk_bits values, and whether the
    // first phases are counted before all phases are.
    int max_chunk_bits = 32;
    bool first_phases = true;
    // The plans of the batch being counted (16 KiB a coset), kept from batch
    // to batch rather than made anew each time.
    std::vector<PhaseWords> plans;
};

// Prepares the classifier for list[0..count) of degree n. False when stopped.
bool prepare_pair_classifier(WorkerPool& pool, PairClassifier& c, const std::uint32_t* list, std::size_t count,
                             int n);

// Both entries have a decimation.
inline bool classified(const PairClassifier& c, std::size_t i, std::size_t j) {
    return c.decimation[i] != 0 && c.decimation[j] != 0;
}

// The ratio of a classified pair: d_j / d_i mod 2^n - 1.
inline std::uint32_t pair_ratio(const PairClassifier& c, std::size_t i, std::size_t j) {
    const std::uint64_t p = std::uint64_t{c.decimation[j]} * c.inverse[i];
    const std::uint64_t m = c.period;
    // Modulo 2^n - 1 the bits above n fold back onto the low ones.
    std::uint64_t r = (p & m) + (p >> c.n);
    r = (r & m) + (r >> c.n);
    return static_cast<std::uint32_t>(r == m ? 0 : r);
}

// The verdict on the coset of q: preferred, not_preferred or unknown (not yet decided).
PairVerdict known_verdict(const PairClassifier& c, std::uint32_t q);

// The known verdicts of a block of rows: the pairs (i, j), i < j < count,
// for the rows [first, end), looked up on the pool in one go (a row alone is
// too little work to hand out). unknown where the coset was not yet decided
// when looked up, or the pair is not classified.
struct RowVerdicts {
    std::size_t first = 0, end = 0;
    std::vector<std::size_t> start;  // per row of the block: where its pairs begin
    std::vector<PairVerdict> verdict;

    // Row i: the verdict of pair (i, j) at j - i - 1.
    const PairVerdict* row(std::size_t i) const { return verdict.data() + start[i - first]; }
};
// Looks up the rows from `first` on, as many as make about `pairs` pairs
// (at least one row).
void look_up_rows(WorkerPool& pool, const PairClassifier& c, std::size_t first, std::size_t count, std::size_t pairs,
                  RowVerdicts& rows);

// A coset to decide, with the pair of entries it was met in.
struct CosetQuestion {
    std::uint32_t q;
    std::size_t i, j;
};

// Adds the coset of pair (i, j) to `batch` unless it is decided or already
// asked; true when added.
bool ask_coset(PairClassifier& c, std::size_t i, std::size_t j, std::vector<CosetQuestion>& batch);

// Asks for the cosets of the pairs from (i, j) on, in the search's order (j
// after i, row after row), until `limit` are asked or many pairs were seen.
void ask_cosets_from(PairClassifier& c, std::size_t i, std::size_t j, std::size_t count, std::size_t limit,
                     std::vector<CosetQuestion>& batch);

// Decides the batch's cosets on the pool. False when stopped. When memory
// runs out the classifier gives up: no entry keeps its decimation.
bool decide_cosets(WorkerPool& pool, PairClassifier& c, const std::vector<CosetQuestion>& batch);

}  // namespace tapwell

// Ring: library. The preferred pair search: every pair (i, j), i < j, of a
// list of polynomials of one degree n (3 to 32), row after row, kept when
// its cross-correlation takes only -1, -t(n) and t(n) - 2 at every phase.
//
// The decimation of every entry is found once; a pair's verdict is then that
// of the coset of its ratio, decided the first time it is met together with
// the next unknown ones (library/pair_classifier.h), and looked up for every
// later pair. Pairs with an entry that is not primitive of degree n (or
// every pair, when the classifier's tables cannot be had) are stepped.
#pragma once

#include <cstdint>

#include "library/run_context.h"
#include "runtime/worker_pool.h"

namespace tapwell {

struct PairSearchRequest {
    const std::uint32_t* list = nullptr;  // the window's one-word polynomials
    std::uint32_t count = 0;              // entries; at least 2
    std::uint32_t limit = 0;              // pairs after which to end; 0: no limit
};

// The degree of the list, or 0 when the search does not take it (fewer than
// two entries, or a first entry below degree 3).
int pair_search_degree(const PairSearchRequest& request);

class PairSink {
public:
    // Once, before the first pair: the run's pool (for the sink's own work of
    // preparing), and the number of pairs in all.
    virtual void begin(WorkerPool& pool, std::uint64_t pairs) {
        (void)pool;
        (void)pairs;
    }
    // Pairs decided so far, in the search's order, at least every 256 pairs.
    // False ends the run.
    virtual bool checked(std::uint64_t pairs) = 0;
    // A preferred pair, in order. False ends the run.
    virtual bool take(std::uint32_t i, std::uint32_t j) = 0;

protected:
    ~PairSink() = default;
};

// complete: every pair decided, or the limit reached.
RunEnd search_pairs(const PairSearchRequest& request, const RunContext& context, PairSink& sink);

}  // namespace tapwell

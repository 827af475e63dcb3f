// Ring: library. The primitive search beyond the window's: degrees 3 to 64 on
// 64-bit words, every candidate or only those of exactly K non-zero terms,
// from a first candidate to a last one or a count of finds, in the window's
// order (increasing value within the degree).
//
// The candidates of K terms are walked directly, in increasing value, never
// by filtering the whole degree. The calling thread lists a round of blocks
// of candidates (cheap beside their test), the run's threads test the blocks
// at once (core/primitivity_wide.h), and the finds go to the sink block by
// block in order, so that the finds are the same whatever the threads.
#pragma once

#include <cstdint>

#include "library/run_context.h"

namespace tapwell {

struct WideSearchRequest {
    int degree = 0;           // 3..64
    std::uint64_t first = 0;  // the first candidate tested if it is one (of the degree's and the terms')
    std::uint64_t last = 0;   // the last one, inclusive; of the same degree, not below first
    std::uint64_t count = 0;  // finds after which to end; 0: no limit
    int terms = 0;            // non-zero terms of every candidate; 0: any
};

// The least candidate of the request's degree and terms at or above v, x^n + 1
// never one; 0 when there is none of that degree.
std::uint64_t candidate_at_or_after(std::uint64_t v, int degree, int terms);

struct WideFoundBlock {
    const std::uint64_t* finds = nullptr;
    std::uint32_t count = 0;
    std::uint64_t last = 0;  // the block's last candidate tested
};

class WidePrimitiveSink {
public:
    // In order, on the calling thread; never more finds than the count. False ends the search.
    virtual bool take(const WideFoundBlock& block) = 0;

protected:
    ~WidePrimitiveSink() = default;
};

// complete: the last candidate or the count was reached.
RunEnd search_primitives_wide(const WideSearchRequest& request, const RunContext& context, WidePrimitiveSink& sink);

}  // namespace tapwell

// Ring: library. The primitive polynomial search: every candidate of one
// degree n (3 to 32) from a first one upwards, in the window's order (the
// values of the window's one-word polynomial), until a count of finds or a
// last candidate is reached.
//
// The candidates are tested a block of PRIMITIVE_BLOCK at a time (a
// millisecond or so even at degree 32), a round of blocks at once on the
// run's threads; the blocks are then handed to the sink in order, so that
// whatever the number of threads the finds arrive exactly as a
// candidate-by-candidate walk would find them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "library/run_context.h"

namespace tapwell {

struct PrimitiveSearchRequest {
    std::uint32_t first = 0;  // the first candidate: its degree is the search's; x^n + 1 is never tested
    std::uint32_t last = 0;   // the last candidate, of the same degree; 0: the degree's last, 2^n - 1
    std::uint32_t count = 0;  // finds after which to end; 0: no limit
};

// The degree of a request, 0 when its first candidate is none (below degree
// 3, or a last candidate below the first or of another degree).
int search_degree(const PrimitiveSearchRequest& request);

// The candidates [first, last] of a block and their primitive ones, in
// increasing order. A block handed over by take() holds no find beyond the
// request's count.
struct FoundBlock {
    std::uint32_t first = 0, last = 0;
    const std::uint32_t* finds = nullptr;
    std::uint32_t count = 0;
    std::size_t slot = 0;  // the block's place in its round, below round_slots()
};

class PrimitiveSink {
public:
    // Called once, before any block: the number of blocks a round holds.
    virtual void begin(std::size_t round_slots) { (void)round_slots; }
    // The blocks from `candidate` on are being tested. False ends the search.
    virtual bool testing(std::uint32_t candidate) = 0;
    // On any thread of the run, in any order, once the block is tested and
    // before it is taken: room for the sink's own work on its finds (every
    // find of the block, the count not yet applied).
    virtual void prepare(const FoundBlock& block) { (void)block; }
    // In order, on the calling thread. False ends the search.
    virtual bool take(const FoundBlock& block) = 0;

protected:
    ~PrimitiveSink() = default;
};

// complete: the count or the last candidate was reached. A request whose
// degree is 0 is not searched (complete, nothing taken).
RunEnd search_primitives(const PrimitiveSearchRequest& request, const RunContext& context, PrimitiveSink& sink);

}  // namespace tapwell

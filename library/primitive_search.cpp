// Ring: library. See primitive_search.h.
#include "library/primitive_search.h"

#include <bit>
#include <memory>
#include <vector>

#include "core/primitivity.h"
#include "runtime/worker_pool.h"
#include "tapwell/polynomial.hpp"

namespace tapwell {

namespace {

struct Block {
    FoundBlock found;
    std::unique_ptr<std::uint32_t[]> finds;
};

}  // namespace

int search_degree(const PrimitiveSearchRequest& request) {
    const int n = static_cast<int>(std::bit_width(request.first));
    if (n < WINDOW_MIN_DEGREE) return 0;
    if (request.last != 0 && (request.last < request.first || static_cast<int>(std::bit_width(request.last)) != n)) return 0;
    return n;
}

RunEnd search_primitives(const PrimitiveSearchRequest& request, const RunContext& context, PrimitiveSink& sink) {
    const int n = search_degree(request);
    if (n == 0) return RunEnd::complete;
    const std::uint32_t e = 1u << (n - 1);
    const std::uint32_t first = request.first == e ? e + 1 : request.first;  // x^n + 1 is never tested
    const std::uint32_t last = request.last != 0 ? request.last : 2u * e - 1u;
    if (first > last) return RunEnd::complete;
    const std::uint64_t candidates = std::uint64_t{last} - first + 1;
    const std::uint64_t blocks_in_range = (candidates + PRIMITIVE_BLOCK - 1) / PRIMITIVE_BLOCK + 1;
    WorkerPool pool(pool_threads_for(blocks_in_range, context.threads), context.stop);
    const std::size_t round_blocks = pool.size() == 1 ? 1 : 4 * static_cast<std::size_t>(pool.size());
    std::vector<Block> blocks(round_blocks);
    for (std::size_t k = 0; k < round_blocks; ++k) {
        // Left uninitialised: a block's finds are written before they are read.
        blocks[k].finds.reset(new std::uint32_t[PRIMITIVE_BLOCK]);
        blocks[k].found.finds = blocks[k].finds.get();
        blocks[k].found.slot = k;
    }
    sink.begin(round_blocks);
    std::uint64_t found = 0;
    bool done = false;
    for (std::uint32_t g = first; !done;) {
        if (!sink.testing(g) || pool.stopped()) return RunEnd::stopped;
        std::size_t planned = 0;
        while (planned < round_blocks && !done) {
            const std::uint32_t block_last = g | (PRIMITIVE_BLOCK - 1u);
            FoundBlock& b = blocks[planned++].found;
            b.first = g;
            b.last = block_last < last ? block_last : last;
            done = b.last == last;  // candidates exhausted; checked before moving on so it cannot wrap
            g = b.last + 1;
        }
        pool.for_each(planned, [&](std::size_t k) {
            FoundBlock& b = blocks[k].found;
            b.count = find_primitives(b.first, b.last, n, blocks[k].finds.get());
            sink.prepare(b);
        });
        for (std::size_t k = 0; k < planned; ++k) {
            FoundBlock& b = blocks[k].found;
            const bool ends = request.count != 0 && b.count >= request.count - found;
            if (ends) b.count = static_cast<std::uint32_t>(request.count - found);
            if (!sink.take(b)) return RunEnd::stopped;
            found += b.count;
            if (ends) return RunEnd::complete;
        }
    }
    return RunEnd::complete;
}

}  // namespace tapwell

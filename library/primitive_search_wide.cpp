// Ring: library. See primitive_search_wide.h.
#include "library/primitive_search_wide.h"

#include <bit>
#include <vector>

#include "core/primitivity_wide.h"
#include "runtime/worker_pool.h"

namespace tapwell {

namespace {

// A millisecond or so of tests at degree 64 on one core: the stop token is
// asked at least that often per thread.
constexpr std::uint32_t WIDE_BLOCK = 4096;

struct CandidateBlock {
    std::vector<std::uint64_t> values = std::vector<std::uint64_t>(WIDE_BLOCK);  // candidates, then finds in place
    std::uint32_t size = 0;
    std::uint32_t finds = 0;
    std::uint64_t last = 0;
};

bool of_degree(std::uint64_t v, int n) {
    return static_cast<int>(std::bit_width(v)) == n;
}

}  // namespace

std::uint64_t candidate_at_or_after(std::uint64_t v, int n, int terms) {
    const std::uint64_t top = std::uint64_t{1} << (n - 1);
    if (v < top) v = top;
    if (!of_degree(v, n)) return 0;
    if (terms == 0) return v == top ? top + 1 : v;
    const int stored = terms - 1;  // the constant term is not stored
    if (stored < 2 || stored > n) return 0;  // x^n + 1 alone has two terms
    std::uint64_t r = v;
    // Every value in [r, r + lowest bit of r) keeps all of r's bits: too many.
    while (std::popcount(r) > stored) {
        const std::uint64_t next = r + (r & (~r + 1));
        if (next < r) return 0;  // past x^64
        r = next;
    }
    if (!of_degree(r, n)) return 0;
    // The least value above r with the bits still missing: its lowest zeros set.
    for (int missing = stored - std::popcount(r); missing > 0; --missing) r |= r + 1;
    return r;
}

RunEnd search_primitives_wide(const WideSearchRequest& request, const RunContext& context, WidePrimitiveSink& sink) {
    const int n = request.degree;
    std::uint64_t g = candidate_at_or_after(request.first, n, request.terms);
    if (g == 0 || g > request.last) return RunEnd::complete;
    const std::uint64_t blocks_in_range = (request.last - g) / WIDE_BLOCK + 1;
    WorkerPool pool(pool_threads_for(blocks_in_range, context.threads), context.stop);
    const std::size_t round_blocks = pool.size() == 1 ? 1 : 4 * static_cast<std::size_t>(pool.size());
    std::vector<CandidateBlock> blocks(round_blocks);
    std::uint64_t found = 0;
    bool done = false;
    while (!done) {
        if (pool.stopped()) return RunEnd::stopped;
        std::size_t planned = 0;
        while (planned < round_blocks && !done) {
            CandidateBlock& b = blocks[planned++];
            b.size = 0;
            while (b.size < WIDE_BLOCK) {
                b.values[b.size++] = g;
                // Checked before moving on, so that the walk cannot wrap past x^64.
                if (g == request.last) {
                    done = true;
                    break;
                }
                g = candidate_at_or_after(g + 1, n, request.terms);
                if (g == 0 || g > request.last) {
                    done = true;
                    break;
                }
            }
            b.last = b.values[b.size - 1];
        }
        pool.for_each(planned, [&](std::size_t k) {
            CandidateBlock& b = blocks[k];
            b.finds = keep_primitive_wide(b.values.data(), b.size, n, b.values.data());
        });
        for (std::size_t k = 0; k < planned; ++k) {
            const CandidateBlock& b = blocks[k];
            const bool ends = request.count != 0 && b.finds >= request.count - found;
            const std::uint32_t taken = ends ? static_cast<std::uint32_t>(request.count - found) : b.finds;
            if (!sink.take({b.values.data(), taken, b.last})) return RunEnd::stopped;
            found += taken;
            if (ends) return RunEnd::complete;
        }
    }
    return RunEnd::complete;
}

}  // namespace tapwell

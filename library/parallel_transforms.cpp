// Ring: library. See parallel_transforms.h.
#include "library/parallel_transforms.h"

#include <atomic>
#include <cstring>

#include "core/walsh_transform.h"

namespace tapwell {

namespace {

constexpr std::size_t CLEAR_PIECE = std::size_t{1} << 20;  // values cleared per piece

template <typename T>
bool transform(WorkerPool& pool, T* data, int bits) {
    if (pool.size() == 1) return walsh_hadamard(data, bits, pool.stop_token());
    for (int phase = 0; phase < walsh_phase_count(bits); ++phase) {
        pool.for_each(walsh_piece_count(bits, phase), [&](std::size_t piece) {
            if (!pool.stopped()) walsh_piece(data, bits, phase, piece);
        });
        if (pool.stopped()) return false;
    }
    return true;
}

template <typename T>
bool correlate(WorkerPool& pool, const CorrelationPlan& plan, std::uint32_t chunk, T* values) {
    if (pool.size() == 1) return correlate_chunk(plan, chunk, values, pool.stop_token());
    const std::size_t size = std::size_t{1} << plan.chunk_bits;
    pool.for_each((size + CLEAR_PIECE - 1) / CLEAR_PIECE, [&](std::size_t piece) {
        const std::size_t from = piece * CLEAR_PIECE;
        const std::size_t count = size - from < CLEAR_PIECE ? size - from : CLEAR_PIECE;
        if (!pool.stopped()) std::memset(values + from, 0, count * sizeof(T));
    });
    if (pool.stopped()) return false;
    // More segments than threads, so a thread that was late to start still
    // finds work; each segment starts with a jump of a few microseconds.
    const auto segments = static_cast<std::uint32_t>(4 * pool.size());
    std::atomic<bool> complete{true};
    pool.for_each(segments, [&](std::size_t segment) {
        if (!fill_chunk_segment(plan, chunk, values, static_cast<std::uint32_t>(segment), segments, pool.stop_token())) {
            complete.store(false, std::memory_order_relaxed);
        }
    });
    if (!complete.load(std::memory_order_relaxed) || pool.stopped()) return false;
    return transform(pool, values, plan.chunk_bits);
}

}  // namespace

bool correlate_chunk(WorkerPool& pool, const CorrelationPlan& plan, std::uint32_t chunk, std::int32_t* values) {
    return correlate(pool, plan, chunk, values);
}
bool correlate_chunk(WorkerPool& pool, const CorrelationPlan& plan, std::uint32_t chunk, std::int64_t* values) {
    return correlate(pool, plan, chunk, values);
}
bool walsh_hadamard(WorkerPool& pool, std::int32_t* data, int bits) { return transform(pool, data, bits); }
bool walsh_hadamard(WorkerPool& pool, std::int64_t* data, int bits) { return transform(pool, data, bits); }

}  // namespace tapwell

// Ring: core. See all_phase_correlation.h.
#include "core/all_phase_correlation.h"

#include <atomic>
#include <bit>
#include <cstring>

#include "core/primitivity.h"
#include "core/shift_register.h"

namespace tapwell {

namespace {

constexpr int MAX_CHUNK_BITS_32 = 28;  // 1 GiB of 32-bit values
constexpr int MAX_CHUNK_BITS_64 = 27;  // 1 GiB of 64-bit values
constexpr std::uint32_t STOP_INTERVAL = 1u << 16;  // steps of scattered writes: well under a millisecond
constexpr std::uint64_t PREFETCH_DISTANCE = 32;    // steps: enough misses in flight to keep memory busy

template <typename T>
inline void prefetch_for_writing(T* at) {
#if defined(__GNUC__)
    __builtin_prefetch(at, 1);
#else
    (void)at;
#endif
}

// How a step's sign reaches its (cleared) value: added, added atomically where
// segments of the same chunk run at the same time (values of different steps
// may meet), or set, where every value is reached by exactly one step
// (CorrelationPlan::once) and segments never meet.
enum class Fill { add, shared_add, set };

template <Fill How, typename T>
inline void put(T& value, T amount) {
    if constexpr (How == Fill::shared_add) {
        std::atomic_ref<T>(value).fetch_add(amount, std::memory_order_relaxed);
    } else if constexpr (How == Fill::set) {
        value = amount;
    } else {
        value += amount;
    }
}

// F for steps [from, to) of one chunk: F[w mod 2^m] += (-1)^(a_k XOR <w div 2^m, chunk>).
template <Fill How, typename T>
bool fill_steps(const CorrelationPlan& plan, std::uint32_t chunk, T* values, std::uint32_t from, std::uint32_t to,
                StopCheck stop) {
    const int n = plan.n;
    const int m = plan.chunk_bits;
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t mask = top | (top - 1u);
    const std::uint32_t low_mask = static_cast<std::uint32_t>((std::size_t{1} << m) - 1u);
    const std::uint32_t ta = plan.taps_a, tb = plan.taps_b;
    // a_k is bit 0 of A's transposed walk from 1, as b_k(s) is <w_k, s>: both
    // come out of the same kind of step, with no parity to compute.
    std::uint32_t v = transposed_jump(1, ta, top, mask, from);
    std::uint32_t w = transposed_jump(1, tb, top, mask, from);
    // The values are written in the order of the walk, all over memory: a
    // second walk PREFETCH_DISTANCE steps ahead asks for each value's line in
    // time, so that many misses are in flight at once instead of one.
    std::uint32_t ahead = transposed_jump(w, tb, top, mask, PREFETCH_DISTANCE);
    const std::uint32_t index_mask = m == n ? mask : low_mask;
    std::uint32_t k = from;
    while (k < to) {
        const std::uint32_t end = to - k < STOP_INTERVAL ? to : k + STOP_INTERVAL;
        if (m == n) {
            for (; k < end; ++k) {
                prefetch_for_writing(values + (ahead & index_mask));
                ahead = transposed_step(ahead, tb, top, mask);
                put<How>(values[w], static_cast<T>(1 - 2 * static_cast<T>(v & 1u)));
                v = transposed_step(v, ta, top, mask);
                w = transposed_step(w, tb, top, mask);
            }
        } else {
            for (; k < end; ++k) {
                prefetch_for_writing(values + (ahead & index_mask));
                ahead = transposed_step(ahead, tb, top, mask);
                const std::uint32_t sign = (v ^ static_cast<std::uint32_t>(std::popcount((w >> m) & chunk))) & 1u;
                put<How>(values[w & low_mask], static_cast<T>(1 - 2 * static_cast<T>(sign)));
                v = transposed_step(v, ta, top, mask);
                w = transposed_step(w, tb, top, mask);
            }
        }
        if (stop != nullptr && stop()) return false;
    }
    return true;
}

template <typename T>
bool segment_of(const CorrelationPlan& plan, std::uint32_t chunk, T* values, std::uint32_t segment,
                std::uint32_t segments, StopCheck stop) {
    const std::uint64_t period = (std::uint64_t{1} << plan.n) - 1u;
    const auto from = static_cast<std::uint32_t>(period * segment / segments);
    const auto to = static_cast<std::uint32_t>(period * (segment + 1) / segments);
    if (plan.once) return fill_steps<Fill::set>(plan, chunk, values, from, to, stop);
    return segments > 1 ? fill_steps<Fill::shared_add>(plan, chunk, values, from, to, stop)
                        : fill_steps<Fill::add>(plan, chunk, values, from, to, stop);
}

template <typename T>
bool fill_chunk(const CorrelationPlan& plan, std::uint32_t chunk, T* values, StopCheck stop) {
    const std::size_t size = std::size_t{1} << plan.chunk_bits;
    // Clearing (and first touching) a gigabyte takes a while: in pieces.
    for (std::size_t at = 0; at < size; at += STOP_INTERVAL) {
        const std::size_t piece = size - at < STOP_INTERVAL ? size - at : STOP_INTERVAL;
        std::memset(values + at, 0, piece * sizeof(T));
        if (stop != nullptr && stop()) return false;
    }
    return segment_of(plan, chunk, values, 0, 1, stop);
}

template <typename T>
bool correlate(const CorrelationPlan& plan, std::uint32_t chunk, T* values, StopCheck stop) {
    if (!fill_chunk(plan, chunk, values, stop)) return false;
    return walsh_hadamard(values, plan.chunk_bits, stop);
}

}  // namespace

CorrelationPlan plan_correlation(int n, std::uint32_t taps_a, std::uint32_t taps_b) {
    CorrelationPlan plan{};
    plan.n = n;
    plan.taps_a = taps_a;
    plan.taps_b = taps_b;
    plan.wide = n >= 31;
    const int limit = plan.wide ? MAX_CHUNK_BITS_64 : MAX_CHUNK_BITS_32;
    plan.chunk_bits = n < limit ? n : limit;
    plan.chunk_count = 1u << (n - plan.chunk_bits);
    // B's walk visits every non-zero state once exactly when B is primitive.
    const std::uint32_t top = 1u << (n - 1);
    plan.once = plan.chunk_bits == n && is_primitive_fast((taps_b >> 1) | top, n);
    return plan;
}

CorrelationPlan with_smaller_chunks(CorrelationPlan plan) {
    --plan.chunk_bits;
    plan.chunk_count = 1u << (plan.n - plan.chunk_bits);
    plan.once = false;
    return plan;
}

bool correlate_chunk(const CorrelationPlan& plan, std::uint32_t chunk, std::int32_t* values, StopCheck stop) {
    return correlate(plan, chunk, values, stop);
}

bool correlate_chunk(const CorrelationPlan& plan, std::uint32_t chunk, std::int64_t* values, StopCheck stop) {
    return correlate(plan, chunk, values, stop);
}

bool fill_chunk_segment(const CorrelationPlan& plan, std::uint32_t chunk, std::int32_t* values, std::uint32_t segment,
                        std::uint32_t segments, StopCheck stop) {
    return segment_of(plan, chunk, values, segment, segments, stop);
}

bool fill_chunk_segment(const CorrelationPlan& plan, std::uint32_t chunk, std::int64_t* values, std::uint32_t segment,
                        std::uint32_t segments, StopCheck stop) {
    return segment_of(plan, chunk, values, segment, segments, stop);
}

}  // namespace tapwell

// Ring: library. See correlation.h.
#include "library/correlation.h"

#include <memory>
#include <new>

#include "core/all_phase_correlation.h"
#include "core/shift_register.h"
#include "library/parallel_transforms.h"

namespace tapwell {

namespace {

// Steps between two looks at the stop flag: well under a millisecond.
constexpr std::uint32_t PHASE_SLICE = 1u << 16;

template <typename T>
RunEnd correlate_in(WorkerPool& pool, CorrelationPlan plan, PhaseValueSink& sink) {
    // Not cleared here: the transform clears each chunk in pieces, looking at
    // the stop token, and up to a gigabyte takes a while. When the memory is
    // not to be had, smaller chunks (more passes over the sequence) give the
    // same values.
    std::unique_ptr<T[]> values;
    while (true) {
        const std::size_t size = std::size_t{1} << plan.chunk_bits;
        values.reset(plan.chunk_bits > 12 ? new (std::nothrow) T[size] : new T[size]);
        if (values) break;
        plan = with_smaller_chunks(plan);
    }
    const std::size_t size = std::size_t{1} << plan.chunk_bits;
    std::uint32_t dt = 0;
    for (std::uint32_t chunk = 0; chunk < plan.chunk_count; ++chunk) {
        if (!correlate_chunk(pool, plan, chunk, values.get())) return RunEnd::stopped;
        // State 0 is no phase: the phases are the states 1 .. 2^n - 1.
        const std::size_t first = chunk == 0 ? 1 : 0;
        if (!sink.take(pool, dt, values.get() + first, size - first)) return RunEnd::stopped;
        dt += static_cast<std::uint32_t>(size - first);
    }
    return RunEnd::complete;
}

}  // namespace

RunEnd correlate_phases(const CorrelationRequest& request, const RunContext& context, PhaseValueSink& sink) {
    // A thread for each 2^17 states: below that the whole run takes a
    // millisecond or so, less than starting a thread costs.
    const int n = request.degree;
    WorkerPool pool(pool_threads_for(std::uint64_t{1} << (n > 17 ? n - 17 : 0), context.threads), context.stop);
    const CorrelationPlan plan = plan_correlation(n, request.taps_a, request.taps_b);
    return plan.wide ? correlate_in<std::int64_t>(pool, plan, sink) : correlate_in<std::int32_t>(pool, plan, sink);
}

bool stepped_phase(const SteppedPair& pair, std::uint32_t start_state, std::int64_t& r, StopCheck stop) {
    const std::uint32_t period = pair.top_a != 0 ? 2u * pair.top_a - 1u : 0u;
    std::uint32_t sa = 1, sb = start_state;
    r = 0;
    for (std::uint32_t remaining = period; remaining > 0;) {
        const std::uint32_t slice = remaining < PHASE_SLICE ? remaining : PHASE_SLICE;
        std::uint32_t differ = 0;
        for (std::uint32_t i = 0; i < slice; ++i) {
            differ += (sa ^ sb) & 1u;
            sa = register_step(sa, pair.taps_a, pair.top_a);
            sb = register_step(sb, pair.taps_b, pair.top_b);
        }
        r += static_cast<std::int64_t>(slice) - 2 * static_cast<std::int64_t>(differ);
        remaining -= slice;
        if (stop != nullptr && stop()) return false;
    }
    return true;
}

}  // namespace tapwell

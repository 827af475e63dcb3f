// Ring: library. See pair_phases.h.
#include "library/pair_phases.h"

#include <memory>
#include <new>
#include <vector>

#include "core/all_phase_correlation.h"
#include "tapwell/preferred_values.hpp"
#include "library/parallel_transforms.h"

namespace tapwell {

namespace {

// The chunk's values; smaller chunks (more passes over the sequence) while
// the memory is not to be had.
template <typename T>
std::unique_ptr<T[]> chunk_values(CorrelationPlan& plan) {
    while (true) {
        const std::size_t size = std::size_t{1} << plan.chunk_bits;
        std::unique_ptr<T[]> values(plan.chunk_bits > 12 ? new (std::nothrow) T[size] : new T[size]);
        if (values) return values;
        plan = with_smaller_chunks(plan);
    }
}

// visit(values, count) sees the phases of each chunk in turn (state 0, no
// phase, left out) and returns false to end the scan.
template <typename T, typename Visit>
SpectrumEnd scan_values(WorkerPool& pool, CorrelationPlan plan, SpectrumProgress* progress, Visit& visit) {
    const std::unique_ptr<T[]> values = chunk_values<T>(plan);
    if (progress != nullptr) {
        progress->chunks_done.store(0, std::memory_order_relaxed);
        progress->chunk_count.store(plan.chunk_count, std::memory_order_relaxed);
    }
    const std::size_t size = std::size_t{1} << plan.chunk_bits;
    for (std::uint32_t chunk = 0; chunk < plan.chunk_count; ++chunk) {
        if (!correlate_chunk(pool, plan, chunk, values.get())) return SpectrumEnd::stopped;
        const std::size_t first = chunk == 0 ? 1 : 0;
        if (!visit(values.get() + first, size - first)) return SpectrumEnd::other_value;
        if (progress != nullptr) progress->chunks_done.fetch_add(1, std::memory_order_relaxed);
    }
    return SpectrumEnd::complete;
}

template <typename Visit>
SpectrumEnd scan(WorkerPool& pool, int n, std::uint32_t taps_a, std::uint32_t taps_b, int max_chunk_bits,
                 SpectrumProgress* progress, Visit visit) {
    CorrelationPlan plan = plan_correlation(n, taps_a, taps_b);
    while (plan.chunk_bits > max_chunk_bits && plan.chunk_bits > 1) plan = with_smaller_chunks(plan);
    return plan.wide ? scan_values<std::int64_t>(pool, plan, progress, visit)
                     : scan_values<std::int32_t>(pool, plan, progress, visit);
}

}  // namespace

SpectrumEnd preferred_spectrum(WorkerPool& pool, int n, std::uint32_t taps_a, std::uint32_t taps_b,
                               int max_chunk_bits, SpectrumProgress* progress) {
    const PreferredValues preferred = preferred_values(n);
    return scan(pool, n, taps_a, taps_b, max_chunk_bits, progress, [preferred](const auto* values, std::size_t count) {
        for (std::size_t l = 0; l < count; ++l) {
            if (!preferred.contains(values[l])) return false;
        }
        return true;
    });
}

bool spectrum_counts(WorkerPool& pool, int n, std::uint32_t taps_a, std::uint32_t taps_b,
                     std::map<std::int64_t, std::uint64_t>& counts, SpectrumProgress* progress) {
    // Most values lie within a few times 2^(n/2) of 0: counted in an array;
    // the rare others in the map.
    const std::int64_t reach = std::int64_t{1} << (n / 2 + 4 < n ? n / 2 + 4 : n);
    std::vector<std::uint64_t> near(static_cast<std::size_t>(2 * reach + 1), 0);
    counts.clear();
    const SpectrumEnd end = scan(pool, n, taps_a, taps_b, 32, progress, [&](const auto* values, std::size_t count) {
        for (std::size_t l = 0; l < count; ++l) {
            const std::int64_t r = values[l];
            if (r >= -reach && r <= reach) {
                ++near[static_cast<std::size_t>(r + reach)];
            } else {
                ++counts[r];
            }
        }
        return true;
    });
    for (std::size_t k = 0; k < near.size(); ++k) {
        if (near[k] != 0) counts[static_cast<std::int64_t>(k) - reach] += near[k];
    }
    return end == SpectrumEnd::complete;
}

}  // namespace tapwell

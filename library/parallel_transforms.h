// Ring: library. The all-phase correlation of core on the threads of a job's
// pool: the chunk cleared in pieces, filled in segments of the sequence and
// transformed phase by phase, each piece on whichever thread is free. The
// values are exactly those of the one-thread kernels (sums of integers, in
// whatever order). Every piece looks at the stop flag; false when stopped.
#pragma once

#include <cstdint>

#include "core/all_phase_correlation.h"
#include "runtime/worker_pool.h"

namespace tapwell {

bool correlate_chunk(WorkerPool& pool, const CorrelationPlan& plan, std::uint32_t chunk, std::int32_t* values);
bool correlate_chunk(WorkerPool& pool, const CorrelationPlan& plan, std::uint32_t chunk, std::int64_t* values);

bool walsh_hadamard(WorkerPool& pool, std::int32_t* data, int bits);
bool walsh_hadamard(WorkerPool& pool, std::int64_t* data, int bits);

}  // namespace tapwell

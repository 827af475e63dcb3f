// Ring: library. The periodic cross-correlation of two registers of one
// degree (3 to 32) over all 2^n - 1 phases, exactly as stepping gives it:
// phase dt pairs register A from state 1 with register B from state dt + 1.
// Every phase at once by the transform of core/all_phase_correlation, a
// chunk of states at a time, each chunk on the run's pool
// (library/parallel_transforms). A chunk holds at most 1 GiB and is halved
// while its memory is not to be had.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/stop_check.h"
#include "library/run_context.h"
#include "runtime/worker_pool.h"

namespace tapwell {

struct CorrelationRequest {
    int degree = 0;            // of both registers
    std::uint32_t taps_a = 0;  // bit k = coefficient of x^k (core/shift_register.h taps_of)
    std::uint32_t taps_b = 0;
};

// Where the values go, in phase order: values[k] is phase first_dt + k. The
// pool is the run's (its stop token the run's), free for the sink to share
// its own work out on. A sink that returns false ends the run.
class PhaseValueSink {
public:
    virtual bool take(WorkerPool& pool, std::uint32_t first_dt, const std::int32_t* values, std::size_t count) = 0;
    virtual bool take(WorkerPool& pool, std::uint32_t first_dt, const std::int64_t* values, std::size_t count) = 0;

protected:
    ~PhaseValueSink() = default;
};

RunEnd correlate_phases(const CorrelationRequest& request, const RunContext& context, PhaseValueSink& sink);

// One phase by stepping both registers a period (2 * top_a - 1 steps):
// register A from state 1, register B from start_state, +1 for each step
// whose outputs agree, -1 for each that differs; at degree 32 r reaches
// 2^32 - 1, hence 64 bits. For the pairs the pair search decides no other
// way. Looks at `stop` every 2^16 steps; false when it said so.
struct SteppedPair {
    std::uint32_t taps_a, top_a, taps_b, top_b;
};
bool stepped_phase(const SteppedPair& pair, std::uint32_t start_state, std::int64_t& r, StopCheck stop);

}  // namespace tapwell

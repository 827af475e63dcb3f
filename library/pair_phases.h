// Ring: library. The correlation values of a pair of registers of degree 3..32
// over all 2^n - 1 phases, exactly as stepping gives them: the all-phase
// transform of core/all_phase_correlation, chunk after chunk, each chunk on
// the job's pool (jobs/parallel_transforms). Chunks hold at most 1 GiB and are
// halved while their memory is not to be had. Every piece looks at the stop
// flag. For the pair search's verdicts, the partners' verification and
// tapwell-cli check-pair.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>

#include "runtime/worker_pool.h"

namespace tapwell {

// How far a scan has come, for a progress line: chunks transformed of all.
struct SpectrumProgress {
    std::atomic<std::uint32_t> chunks_done{0};
    std::atomic<std::uint32_t> chunk_count{0};
};

// complete: every phase seen (for preferred_spectrum: all of them preferred).
enum class SpectrumEnd { complete, other_value, stopped };

// Whether every phase of A (taps_a, from state 1) against B takes one of the
// preferred values -1, -t(n), t(n) - 2; the scan ends at the first chunk that
// holds another. Chunks of at most 2^max_chunk_bits values (tests force small
// ones).
SpectrumEnd preferred_spectrum(WorkerPool& pool, int n, std::uint32_t taps_a, std::uint32_t taps_b,
                               int max_chunk_bits = 32, SpectrumProgress* progress = nullptr);

// Every value with the number of phases that take it. False when stopped.
bool spectrum_counts(WorkerPool& pool, int n, std::uint32_t taps_a, std::uint32_t taps_b,
                     std::map<std::int64_t, std::uint64_t>& counts, SpectrumProgress* progress = nullptr);

}  // namespace tapwell

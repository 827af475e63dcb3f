// Ring: core. The periodic cross-correlation of two shift registers of degree n
// over all 2^n - 1 phases at once, exactly as stepping them would give it:
// phase s pairs register A started from state 1 with register B started from
// state s, and r(s) = sum over k < 2^n - 1 of (-1)^(a_k XOR b_k(s)).
//
// Bit 0 of B after k steps is a linear function <w_k, s> of its start state,
// with w_(k+1) = the transposed step applied to w_k and w_0 = 1. So r(s) is
// the Walsh-Hadamard transform, at s, of F(w) = sum of (-1)^a_k over the k
// with w_k = w. Exact for any two polynomials, primitive or not.
//
// The spectrum is computed in chunks of 2^chunk_bits states (all of them at
// once up to degree 28), so memory stays at most 1 GiB: chunk h holds the
// states h * 2^chunk_bits + l. Above degree 30, values need 64 bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/walsh_transform.h"

namespace tapwell {

struct CorrelationPlan {
    int n;                  // 3..32, the degree of both registers
    std::uint32_t taps_a;   // register taps: bit k = coefficient of x^k, bit 0 = 1
    std::uint32_t taps_b;
    int chunk_bits;         // states per chunk: 2^chunk_bits
    std::uint32_t chunk_count;
    bool wide;              // values in 64 bits (n >= 31)
    bool once;              // one chunk, B primitive: every state but 0 is reached by one step
};

CorrelationPlan plan_correlation(int n, std::uint32_t taps_a, std::uint32_t taps_b);

// The same spectrum in chunks half the size (twice as many), for when the
// memory of the first plan is not to be had. chunk_bits must be above 0.
CorrelationPlan with_smaller_chunks(CorrelationPlan plan);

// values[l] = r(chunk * 2^chunk_bits + l) for every l of the chunk (the state
// 0 included; it is no phase). Uses the 32-bit form unless plan.wide. Returns
// false when `stop` asked to give up.
bool correlate_chunk(const CorrelationPlan& plan, std::uint32_t chunk, std::int32_t* values,
                     StopCheck stop = nullptr);
bool correlate_chunk(const CorrelationPlan& plan, std::uint32_t chunk, std::int64_t* values,
                     StopCheck stop = nullptr);

// The same chunk in parts, for callers that spread them over threads: clear
// the values (in pieces: the first touch of up to a gigabyte takes a while),
// then fill segment 0..segments-1 (parts of the sequence, each started by a
// jump; they may run at the same time, their additions are then atomic unless
// plan.once), then transform (walsh_piece). Together they give what
// correlate_chunk gives.
bool fill_chunk_segment(const CorrelationPlan& plan, std::uint32_t chunk, std::int32_t* values, std::uint32_t segment,
                        std::uint32_t segments, StopCheck stop = nullptr);
bool fill_chunk_segment(const CorrelationPlan& plan, std::uint32_t chunk, std::int64_t* values, std::uint32_t segment,
                        std::uint32_t segments, StopCheck stop = nullptr);

}  // namespace tapwell

// Ring: bench. The straightforward computations the fast jobs replaced, kept
// here to be timed against them in the same run. Each writes the same log lines
// as its job, through the same log stream, so only the method differs.
#pragma once

#include <cstdint>
#include <cstdio>

namespace tapwell::bench {

// The primitive search of a whole degree by the order walk; returns the finds.
std::uint32_t walk_search(int n);
// Every phase of two registers by stepping; returns the sum of |r + 1|.
std::uint64_t stepping_correlation(int n, std::uint32_t poly_a, std::uint32_t poly_b);
// Every pair of list[0..count) by stepping with the early exit, until
// `limit` finds; returns the finds.
std::uint32_t stepping_pairs(const std::uint32_t* list, std::uint32_t count, int n, std::uint32_t limit);
// count values of register `poly` (degree n) from state 1, width 1, one
// fprintf per line to `file`.
void fprintf_generation(std::FILE* file, std::uint32_t poly, int n, std::uint32_t count);

}  // namespace tapwell::bench

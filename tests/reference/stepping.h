// Ring: tests. The straightforward computations the fast kernels and jobs are
// checked against and timed against: registers stepped phase by phase with the
// one step rule (core/shift_register.h), and the jobs as a candidate-by-candidate
// or phase-by-phase program would write them, through the same log stream.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/shift_register.h"

namespace tapwell::reference {

// r of one phase: the register of polynomial value ga from state 1 against the
// one of gb from `start`, 2^n - 1 steps.
std::int64_t phase(int n, std::uint32_t ga, std::uint32_t gb, std::uint32_t start);

// r for every start state 1..2^n - 1 of register B (index s - 1).
std::vector<std::int64_t> all_phases(int n, std::uint32_t ga, std::uint32_t gb);

// Every phase until the first value outside -1, t - 2, -t.
bool preferred(std::uint32_t ga, std::uint32_t gb, int n);

// The jobs, written the straightforward way to the open log.
// The primitive search of a whole degree by the order walk; returns the finds.
std::uint32_t walk_search(int n);
// Every phase of two registers by stepping; returns the sum of |r + 1|.
std::uint64_t stepping_correlation(int n, std::uint32_t poly_a, std::uint32_t poly_b);
// Every pair of list[0..count) by stepping with the early exit, until `limit`
// finds; returns the finds.
std::uint32_t stepping_pairs(const std::uint32_t* list, std::uint32_t count, int n, std::uint32_t limit);
// A generation as a straightforward program writes it, one fprintf per line
// to `file`: the header lines, bank.output_count values of the mode (0 serial,
// 1 parallel, 2 Gold; no register states) stepped register by register, the
// end line. The bank is stepped.
void fprintf_generation(std::FILE* file, RegisterBank& bank, int mode);

}  // namespace tapwell::reference

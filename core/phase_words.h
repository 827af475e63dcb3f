// Ring: core. The correlation of a pair at a few single phases, as stepping
// gives it (register A from state 1, register B from the phase's start state,
// 2^n - 1 steps), 64 steps at a time: the next 64 outputs of a register are a
// linear function of its state, which is the low n bits of the last 64, so a
// word of outputs follows from the one before by four table look-ups. The
// phases are B's start states 0, 64, ..., 64 * 7 steps after state 1, so that
// B's words serve all of them, each shifted by whole words.
//
// A pair that is not preferred shows it at one of these phases but for a
// chance of about p^8, p the share of phases whose value is one of the three
// (it falls with the degree: about 0.4 at degree 13, 0.2 at 17). The cost is
// one pass over the sequence a word at a time.
//
// The period is counted in words; parts of it (from a word to a word) may be
// counted on their own, each started by a jump, and their counts added.
// 3 <= n <= 32. Pure; no threads, no I/O.
#pragma once

#include <cstdint>

#include "core/walsh_transform.h"

namespace tapwell {

constexpr int PHASE_WORDS_STATES = 8;

// The words of one register: next[b][v] is the outputs 64..127 from the state
// whose byte b is v (and the others 0).
struct WordRegister {
    std::uint32_t taps = 0;
    std::uint64_t next[4][256];
};

struct PhaseWords {
    int n = 0;
    std::uint64_t words = 0;      // ceil((2^n - 1) / 64)
    std::uint64_t last_mask = 0;  // the steps of the period in its last word
    WordRegister a, b;
};

// The plan for taps_a against taps_b (bit k = coefficient of x^k).
void plan_phase_words(PhaseWords& plan, int n, std::uint32_t taps_a, std::uint32_t taps_b);

// B's start state of phase i: the state 64 * i steps after state 1.
std::uint32_t phase_words_state(const PhaseWords& plan, int i);

// Adds to differ[i] the steps among words [from, to) of the period at which
// A and B from phase_words_state(i) give different outputs. False when `stop`
// said so.
bool count_phase_differences(const PhaseWords& plan, std::uint64_t from, std::uint64_t to,
                             std::uint64_t* differ, StopCheck stop = nullptr);

// r of a phase from its differences over the whole period.
constexpr std::int64_t phase_value(int n, std::uint64_t differ) {
    return static_cast<std::int64_t>((std::uint64_t{1} << n) - 1u) - 2 * static_cast<std::int64_t>(differ);
}

// Whether every first phase, from its differences over the whole period
// (differ[PHASE_WORDS_STATES]), takes one of the preferred values.
bool first_phases_preferred(int n, const std::uint64_t* differ);

// The verdict of a pair's first phases, counted whole on this thread: the
// pair is not preferred when one of them says so; otherwise all its phases
// decide.
enum class FirstPhases { not_preferred, all_preferred, stopped };
FirstPhases first_phases_of(PhaseWords& plan, int n, std::uint32_t taps_a, std::uint32_t taps_b, StopCheck stop);

}  // namespace tapwell

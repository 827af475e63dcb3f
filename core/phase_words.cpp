// Ring: core. See phase_words.h.
#include "core/phase_words.h"

#include <bit>

#include "core/shift_register.h"
#include "tapwell/preferred_values.hpp"

namespace tapwell {

namespace {

constexpr std::uint64_t STOP_INTERVAL = 1u << 14;  // words between two looks at the stop flag

// 64 outputs of the window's register from `state`, the first in bit 0.
std::uint64_t word_from(std::uint32_t state, std::uint32_t taps, std::uint32_t top) {
    std::uint64_t word = 0;
    for (int i = 0; i < 64; ++i) {
        word |= static_cast<std::uint64_t>(state & 1u) << i;
        state = register_step(state, taps, top);
    }
    return word;
}

void plan_register(WordRegister& r, int n, std::uint32_t taps) {
    r.taps = taps;
    // Output k from every unit state at once: bit j of v[k] is output k from
    // state 2^j. The first n are the states themselves; then the recurrence
    // o(k + n) = sum of o(k + i) over the taps i.
    std::uint32_t v[128];
    for (int k = 0; k < 128; ++k) {
        if (k < n) {
            v[k] = 1u << k;
            continue;
        }
        std::uint32_t o = 0;
        for (std::uint32_t bits = taps; bits != 0; bits &= bits - 1) o ^= v[k - n + std::countr_zero(bits)];
        v[k] = o;
    }
    std::uint64_t unit[32] = {};  // outputs 64..127 from state 2^j
    for (int i = 0; i < 64; ++i) {
        for (std::uint32_t bits = v[64 + i]; bits != 0; bits &= bits - 1) {
            unit[std::countr_zero(bits)] |= std::uint64_t{1} << i;
        }
    }
    // Each entry is an earlier one plus the word of its lowest bit.
    for (int b = 0; b < 4; ++b) {
        r.next[b][0] = 0;
        for (std::uint32_t v = 1; v < 256; ++v) r.next[b][v] = r.next[b][v & (v - 1)] ^ unit[8 * b + std::countr_zero(v)];
    }
}

// The set bits of a word, counted a byte at a time: the bytes of the result
// hold the counts (at most 8 each), so up to 31 of them may be added before
// a byte could overflow. Plain shifts and masks: no instruction is assumed.
inline std::uint64_t byte_counts(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555u;
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    return (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
}

// The sum of the bytes, through 16-bit lanes (a sum reaches 31 * 64).
inline std::uint64_t sum_of_bytes(std::uint64_t x) {
    x = (x & 0x00FF00FF00FF00FFu) + ((x >> 8) & 0x00FF00FF00FF00FFu);
    return (x * 0x0001000100010001u) >> 48;
}

inline std::uint64_t next_word(const WordRegister& r, std::uint64_t word) {
    return r.next[0][word & 255] ^ r.next[1][(word >> 8) & 255] ^ r.next[2][(word >> 16) & 255] ^
           r.next[3][(word >> 24) & 255];
}

// The state after k steps of the register from `start`: its outputs k .. k+n-1.
// The transposed walk's w_k gives output k from any start s as <w_k, s>.
std::uint32_t state_after(int n, std::uint32_t taps, std::uint32_t start, std::uint64_t k) {
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t mask = top | (top - 1u);
    std::uint32_t w = transposed_jump(1, taps, top, mask, k);
    std::uint32_t state = 0;
    for (int i = 0; i < n; ++i) {
        state |= static_cast<std::uint32_t>(std::popcount(w & start) & 1) << i;
        w = transposed_step(w, taps, top, mask);
    }
    return state;
}

}  // namespace

void plan_phase_words(PhaseWords& plan, int n, std::uint32_t taps_a, std::uint32_t taps_b) {
    plan.n = n;
    const std::uint64_t period = (std::uint64_t{1} << n) - 1u;
    plan.words = (period + 63) / 64;
    const std::uint64_t tail = period - 64 * (plan.words - 1);
    plan.last_mask = tail == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << tail) - 1u;
    plan_register(plan.a, n, taps_a);
    plan_register(plan.b, n, taps_b);
}

std::uint32_t phase_words_state(const PhaseWords& plan, int i) {
    return register_steps(1, plan.b.taps, 1u << (plan.n - 1), 64 * i);
}

bool count_phase_differences(const PhaseWords& plan, std::uint64_t from, std::uint64_t to, std::uint64_t* differ,
                             StopCheck stop) {
    constexpr int K = PHASE_WORDS_STATES;
    constexpr std::uint64_t RING = 16;  // B's words t .. t + K - 1, by t mod 16
    if (from >= to) return true;
    const int n = plan.n;
    const std::uint32_t top = 1u << (n - 1);
    std::uint64_t a = word_from(state_after(n, plan.a.taps, 1, 64 * from), plan.a.taps, top);
    std::uint64_t ring[RING];
    ring[from % RING] = word_from(state_after(n, plan.b.taps, 1, 64 * from), plan.b.taps, top);
    for (std::uint64_t m = 1; m < K; ++m) ring[(from + m) % RING] = next_word(plan.b, ring[(from + m - 1) % RING]);
    std::uint64_t count[K] = {}, bytes[K] = {};
    int gathered = 0;  // words in `bytes`
    for (std::uint64_t t = from; t < to; ++t) {
        const std::uint64_t mask = t == plan.words - 1 ? plan.last_mask : ~std::uint64_t{0};
        for (int m = 0; m < K; ++m) bytes[m] += byte_counts((a ^ ring[(t + m) % RING]) & mask);
        ring[(t + K) % RING] = next_word(plan.b, ring[(t + K - 1) % RING]);
        a = next_word(plan.a, a);
        if (++gathered == 31) {
            for (int m = 0; m < K; ++m) {
                count[m] += sum_of_bytes(bytes[m]);
                bytes[m] = 0;
            }
            gathered = 0;
        }
        if ((t - from) % STOP_INTERVAL == STOP_INTERVAL - 1 && stop != nullptr && stop()) return false;
    }
    for (int m = 0; m < K; ++m) differ[m] += count[m] + sum_of_bytes(bytes[m]);
    return true;
}

bool first_phases_preferred(int n, const std::uint64_t* differ) {
    const PreferredValues preferred = preferred_values(n);
    for (int i = 0; i < PHASE_WORDS_STATES; ++i) {
        if (!preferred.contains(phase_value(n, differ[i]))) return false;
    }
    return true;
}

FirstPhases first_phases_of(PhaseWords& plan, int n, std::uint32_t taps_a, std::uint32_t taps_b, StopCheck stop) {
    plan_phase_words(plan, n, taps_a, taps_b);
    std::uint64_t differ[PHASE_WORDS_STATES] = {};
    if (!count_phase_differences(plan, 0, plan.words, differ, stop)) return FirstPhases::stopped;
    return first_phases_preferred(n, differ) ? FirstPhases::all_preferred : FirstPhases::not_preferred;
}

}  // namespace tapwell

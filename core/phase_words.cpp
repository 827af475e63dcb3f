// Ring: core. See phase_words.h.
#include "core/phase_words.h"

#include <bit>

#include "core/shift_register.h"

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
    const std::uint32_t top = 1u << (n - 1);
    r.taps = taps;
    std::uint64_t unit[32] = {};
    for (int j = 0; j < n; ++j) {
        std::uint32_t state = 1u << j;
        for (int i = 0; i < 64; ++i) state = register_step(state, taps, top);
        unit[j] = word_from(state, taps, top);
    }
    for (int b = 0; b < 4; ++b) {
        for (std::uint32_t v = 0; v < 256; ++v) {
            std::uint64_t word = 0;
            for (std::uint32_t bits = v; bits != 0; bits &= bits - 1) word ^= unit[8 * b + std::countr_zero(bits)];
            r.next[b][v] = word;
        }
    }
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

bool count_phase_differences(const PhaseWords& plan, std::uint64_t from, std::uint64_t to, std::uint64_t* differ,
                             StopCheck stop) {
    if (from >= to) return true;
    const int n = plan.n;
    const std::uint32_t top = 1u << (n - 1);
    std::uint64_t a = word_from(state_after(n, plan.a.taps, 1, 64 * from), plan.a.taps, top);
    std::uint64_t b[PHASE_WORDS_STATES];
    for (int i = 0; i < PHASE_WORDS_STATES; ++i) {
        b[i] = word_from(state_after(n, plan.b.taps, plan.states[i], 64 * from), plan.b.taps, top);
    }
    std::uint64_t count[PHASE_WORDS_STATES] = {};
    const std::uint64_t full_end = to < plan.words ? to : plan.words - 1;  // the last word is masked
    for (std::uint64_t t = from; t < to;) {
        const std::uint64_t end = full_end - t < STOP_INTERVAL ? full_end : t + STOP_INTERVAL;
        for (; t < end; ++t) {
            for (int i = 0; i < PHASE_WORDS_STATES; ++i) {
                count[i] += static_cast<std::uint64_t>(std::popcount(a ^ b[i]));
                b[i] = next_word(plan.b, b[i]);
            }
            a = next_word(plan.a, a);
        }
        if (t == plan.words - 1 && t < to) {
            for (int i = 0; i < PHASE_WORDS_STATES; ++i) {
                count[i] += static_cast<std::uint64_t>(std::popcount((a ^ b[i]) & plan.last_mask));
            }
            ++t;
        }
        if (stop != nullptr && stop()) return false;
    }
    for (int i = 0; i < PHASE_WORDS_STATES; ++i) differ[i] += count[i];
    return true;
}

}  // namespace tapwell

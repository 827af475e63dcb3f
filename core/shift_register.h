// Ring: core. Fibonacci shift registers over GF(2) and the bank of 32 that
// generation and correlation step. The step rule lives here once
// (register_step); register_advance, bank_step and every hot loop use it.
// No threads, no I/O, no state of its own: each job holds its own bank.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "core/poly_word.h"

namespace tapwell {

struct ShiftRegister {
    std::uint32_t poly = 0;   // polynomial value; 0 when its line was rejected
    std::int32_t degree = 0;  // bit_length(poly)
    std::uint32_t top = 0;    // 1 << (degree - 1); 0 marks the register unusable
    std::uint32_t taps = 0;   // bit k = coefficient of x^k, k < degree
    std::uint32_t state = 0;  // bit 0 is the output stage
};

constexpr int REGISTER_COUNT = 32;

struct RegisterBank {
    std::array<ShiftRegister, REGISTER_COUNT> registers{};
    std::int32_t output_width = 0;    // steps per register_advance
    std::uint32_t output_count = 0;
};

namespace detail {
// The two rules for any word: the window's 32-bit registers and the 64-bit
// ones of the questions about one polynomial (describe) use the same ones.
template <typename Word>
constexpr Word taps(Word poly, Word top) {
    return static_cast<Word>(((poly ^ top) << 1) | 1u);
}
template <typename Word>
constexpr Word step(Word state, Word taps, Word top) {
    const Word feedback = static_cast<Word>(std::popcount(static_cast<Word>(taps & state & (top | (top - 1u)))) & 1);
    return static_cast<Word>((state >> 1) | (feedback ? top : Word{0}));
}
}  // namespace detail

// Taps of a polynomial value whose highest bit is top: the stored bits below
// x^n shifted up one place, with the constant term as bit 0.
constexpr std::uint32_t taps_of(std::uint32_t poly, std::uint32_t top) { return detail::taps(poly, top); }
constexpr std::uint64_t taps_of64(std::uint64_t poly, std::uint64_t top) { return detail::taps(poly, top); }
// The taps of the window's 32-bit register of a polynomial of degree 1 to 32.
constexpr std::uint32_t taps_of(PolyWord p) {
    return taps_of(static_cast<std::uint32_t>(p.value), static_cast<std::uint32_t>(top_of(p)));
}

// One clock of a register: the parity of the tapped stages below top enters at
// top while everything shifts one place towards bit 0. With top = 0 the
// register only shifts.
constexpr std::uint32_t register_step(std::uint32_t state, std::uint32_t taps, std::uint32_t top) {
    return detail::step(state, taps, top);
}
constexpr std::uint64_t register_step64(std::uint64_t state, std::uint64_t taps, std::uint64_t top) {
    return detail::step(state, taps, top);
}

// The equivalent Galois register: bit 0 is output and leaves; when it is 1 the
// mask is added to the shifted state. With the mask of galois_mask_of its
// output obeys the same recurrence as the register of register_step.
constexpr std::uint64_t galois_step64(std::uint64_t state, std::uint64_t mask) {
    return (state >> 1) ^ ((state & 1u) ? mask : 0u);
}

// The Galois mask of taps of degree n: the taps (bit 0 = constant term)
// reversed in n bits, so bit n - 1 is the constant term.
constexpr std::uint64_t galois_mask_of(std::uint64_t taps, int n) {
    std::uint64_t mask = 0;
    for (int k = 0; k < n; ++k) mask |= (taps >> k & 1u) << (n - 1 - k);
    return mask;
}

// The transposed step, for walks that follow a linear function of the start
// state rather than the state: bit 0 of w after k steps of this walk from 1 is
// the register's output after k steps from state 1 (all_phase_correlation.h).
// mask = 2^n - 1.
constexpr std::uint32_t transposed_step(std::uint32_t w, std::uint32_t taps, std::uint32_t top, std::uint32_t mask) {
    return ((w << 1) & mask) ^ ((w & top) ? taps : 0u);
}

// The transposed step taken k times, in about 32 matrix products whatever k:
// where a walk is split among threads, each part starts at its own k.
std::uint32_t transposed_jump(std::uint32_t w, std::uint32_t taps, std::uint32_t top, std::uint32_t mask, std::uint64_t k);

inline void register_step(ShiftRegister& r) { r.state = register_step(r.state, r.taps, r.top); }

// The state k clocks later: the one step rule taken k times.
constexpr std::uint32_t register_steps(std::uint32_t state, std::uint32_t taps, std::uint32_t top, std::int64_t k) {
    for (std::int64_t i = 0; i < k; ++i) state = register_step(state, taps, top);
    return state;
}
constexpr std::uint64_t register_steps64(std::uint64_t state, std::uint64_t taps, std::uint64_t top, std::int64_t k) {
    for (std::int64_t i = 0; i < k; ++i) state = register_step64(state, taps, top);
    return state;
}

// Reads `entries` registers (1..32) from the list text: a polynomial line and an
// initial-value line each. Registers beyond `entries` are left untouched. The
// text ends at its first zero byte or at the end of the view.
void parse_register_list(RegisterBank& bank, std::string_view text, int entries);

// Register k stepped bank.output_width times.
void register_advance(RegisterBank& bank, int k);
// Registers 0..count-1 stepped once each, in index order.
void bank_step(RegisterBank& bank, int count);

// Line reading of the list text. A line is the run of bytes 0x20..0x7F from the
// position; after it a run of control bytes 0x01..0x1F is skipped. A byte of
// 0x80 and above, like the zero byte, ends its line and is never skipped, so
// every later line is empty.
struct ListReader {
    const char* at;
    const char* end;
};
ListReader list_reader(std::string_view text);
std::string_view read_list_line(ListReader& reader);

}  // namespace tapwell

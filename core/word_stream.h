// Ring: core. A register's output 64 bits at a time: the masks of 64 steps
// (step_matrix.h) read a byte of the state at a time through tables, eight
// lookups for the 64 bits put out and eight for the state after them,
// whatever the degree and form. Pure tables and one inline step; no I/O.
#pragma once

#include <array>
#include <cstdint>

#include "tapwell/sequences.hpp"

namespace tapwell {

struct WordTables {
    // out[b][v]: the 64 bits put out by the stages of state byte b alone
    // holding v; next[b][v]: the state they leave after the 64 steps.
    std::array<std::array<std::uint64_t, 256>, 8> out{}, next{};
};

// The tables of the register of degree n (1..64) with these taps in `form`.
// With msb_first, bit t put out lands in bit 8 (t / 8) + 7 - t % 8 of the
// word, so that the word's bytes in little-endian order are the stream packed
// first bit in each byte's most significant bit; otherwise in bit t.
void build_word_tables(WordTables& tables, std::uint64_t taps, int n, RegisterForm form, bool msb_first);

// The next 64 bits put out from `state`, which moves 64 steps on.
inline std::uint64_t next_word(const WordTables& t, std::uint64_t& state) {
    std::uint64_t out = 0, next = 0;
    for (int b = 0; b < 8; ++b) {
        const unsigned v = static_cast<unsigned>(state >> (8 * b)) & 0xFFu;
        out ^= t.out[static_cast<std::size_t>(b)][v];
        next ^= t.next[static_cast<std::size_t>(b)][v];
    }
    state = next;
    return out;
}

}  // namespace tapwell

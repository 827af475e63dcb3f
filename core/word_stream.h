// Ring: core. A register's output 64 bits at a time: the masks of 64 steps
// (step_matrix.h) read a byte of the state at a time through tables, eight
// lookups for the 64 bits put out and eight for the state after them,
// whatever the degree and form. Pure tables and one inline step; no I/O.
#pragma once

#include <array>
#include <cstdint>

#include "tapwell/sequences.hpp"

namespace tapwell {

struct WordEntry {
    std::uint64_t out;   // the 64 bits put out by one state byte's stages alone
    std::uint64_t next;  // the state they leave after the 64 steps
};

struct WordTables {
    // entry[b][v]: state byte b holding v. Both halves of an entry are read
    // together, so they share a cache line.
    std::array<std::array<WordEntry, 256>, 8> entry{};
    int bytes = 8;  // the state bytes that can be non-zero: ceil(n / 8)
};

// The tables of the register of degree n (1..64) with these taps in `form`.
// With msb_first, bit t put out lands in bit 8 (t / 8) + 7 - t % 8 of the
// word, so that the word's bytes in little-endian order are the stream packed
// first bit in each byte's most significant bit; otherwise in bit t.
void build_word_tables(WordTables& tables, std::uint64_t taps, int n, RegisterForm form, bool msb_first);

// The next 64 bits put out from `state`, which moves 64 steps on; BYTES is
// tables.bytes, so that a register of few stages pays for no more.
template <int BYTES>
inline std::uint64_t next_word(const WordTables& t, std::uint64_t& state) {
    std::uint64_t out = 0, next = 0;
    for (int b = 0; b < BYTES; ++b) {
        const WordEntry& e = t.entry[static_cast<std::size_t>(b)][static_cast<unsigned>(state >> (8 * b)) & 0xFFu];
        out ^= e.out;
        next ^= e.next;
    }
    state = next;
    return out;
}

// Fills `words` with the next words put out from `state`, which moves on;
// `invert` is XORed onto each and `add` says whether words already hold
// bits (of another register) to add to.
void fill_words(const WordTables& tables, std::uint64_t& state, std::uint64_t* words, std::size_t count,
                std::uint64_t invert, bool add);

}  // namespace tapwell

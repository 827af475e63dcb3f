// Ring: core. A register's output 64 bits at a time: the masks of 64 steps
// (step_matrix.h) read a byte of the state at a time through tables, eight
// lookups for the 64 bits put out and eight for the state after them,
// whatever the degree and form. Each state waits on the lookups of the one
// before, so a long fill runs CHAINS states side by side, each putting out
// SPAN words a turn, then moving 64 SPAN CHAINS steps through a table of its
// own; one read of a state byte finds both in one entry. Pure tables and one
// inline step; no I/O.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "tapwell/sequences.hpp"

namespace tapwell {

using ByteTables = std::array<std::array<std::uint64_t, 256>, 8>;  // [state byte b][its value]

struct WordTables {
    static constexpr int CHAINS = 4, SPAN = 2;
    struct Entry {
        std::uint64_t out[SPAN];  // the SPAN words put out by one state byte's stages alone
        std::uint64_t far;        // the state they leave after 64 SPAN CHAINS steps
    };
    std::array<std::array<Entry, 256>, 8> entry{};
    ByteTables next{};  // the state after 64 steps
    int bytes = 8;      // the state bytes that can be non-zero: ceil(n / 8)
};

// The tables of the register of degree n (1..64) with these taps in `form`.
// With msb_first, bit t put out lands in bit 8 (t / 8) + 7 - t % 8 of the
// word, so that the word's bytes in little-endian order are the stream packed
// first bit in each byte's most significant bit; otherwise in bit t.
void build_word_tables(WordTables& tables, std::uint64_t taps, int n, RegisterForm form, bool msb_first);


// Fills `words` with the next words put out from `state`, which moves on;
// `invert` is XORed onto each and `add` says whether words already hold
// bits (of another register) to add to.
void fill_words(const WordTables& tables, std::uint64_t& state, std::uint64_t* words, std::size_t count,
                std::uint64_t invert, bool add);

}  // namespace tapwell

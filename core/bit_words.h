// Ring: core. Bits packed 64 a word: bit i is bit i % 64 of words[i / 64].
// The one indexing of every bit vector (sequences, recurrences, sieves).
#pragma once

#include <cstddef>
#include <cstdint>

namespace tapwell {

// Words that hold `bits` bits.
constexpr std::size_t words_for(std::size_t bits) { return (bits + 63) / 64; }

constexpr bool bit_at(const std::uint64_t* words, std::size_t i) { return (words[i >> 6] >> (i & 63) & 1u) != 0; }

constexpr void set_bit(std::uint64_t* words, std::size_t i) { words[i >> 6] |= std::uint64_t{1} << (i & 63); }

}  // namespace tapwell

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

// The 64 bits from bit i on (bit i in bit 0); words[i / 64 + 1] is read
// unless i is a multiple of 64, so it must exist.
constexpr std::uint64_t word_at(const std::uint64_t* words, std::size_t i) {
    const unsigned r = i & 63;
    const std::uint64_t low = words[i >> 6] >> r;
    return r == 0 ? low : low | words[(i >> 6) + 1] << (64 - r);
}

// ORs `value` (bits 0..count-1, the rest clear) onto bits i .. i+count-1.
constexpr void or_bits(std::uint64_t* words, std::size_t i, std::uint64_t value, unsigned count) {
    const unsigned r = i & 63;
    words[i >> 6] |= value << r;
    if (r != 0 && r + count > 64) words[(i >> 6) + 1] |= value >> (64 - r);
}

// w with the bits of each byte in the opposite order: bytes packed first
// bit in bit 7 to their bits in stream order, and back.
constexpr std::uint64_t bits_reversed_in_bytes(std::uint64_t w) {
    w = ((w >> 1) & 0x5555555555555555u) | ((w & 0x5555555555555555u) << 1);
    w = ((w >> 2) & 0x3333333333333333u) | ((w & 0x3333333333333333u) << 2);
    return ((w >> 4) & 0x0F0F0F0F0F0F0F0Fu) | ((w & 0x0F0F0F0F0F0F0F0Fu) << 4);
}

}  // namespace tapwell

// Ring: core. The output of a register of few feedback terms 64 bits at a
// time by its recurrence alone: P(x)^(2^j) has the same terms spread 2^j
// times wider, and once the gap below x^N (N = n 2^j) is 64 or more, each
// word of output is the XOR of a few earlier words read at fixed offsets.
// That is cheaper than the byte tables of word_stream.h for a trinomial or a
// pentanomial, and the same bits. No I/O; a caller's buffer and its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tapwell {

class SparseStream {
public:
    // Worth it for polynomials of at most this many terms below x^n.
    static constexpr int MAX_TERMS = 6;
    static bool suits(std::uint64_t taps, int n);
    // w with the bits of each byte in the opposite order.
    static std::uint64_t bits_reversed_in_bytes(std::uint64_t w) {
        w = ((w >> 1) & 0x5555555555555555u) | ((w & 0x5555555555555555u) << 1);
        w = ((w >> 2) & 0x3333333333333333u) | ((w & 0x3333333333333333u) << 2);
        return ((w >> 4) & 0x0F0F0F0F0F0F0F0Fu) | ((w & 0x0F0F0F0F0F0F0F0Fu) << 4);
    }
    // Words of output from chip 0 of the stream that the recurrence needs
    // before it can go on alone.
    static std::size_t history_words(std::uint64_t taps, int n);

    // taps of degree n (bit k = coefficient of x^k, k < n); `history`: the
    // first history_words(taps, n) words of the stream (bit t of a word is
    // its t-th bit), put out first.
    SparseStream(std::uint64_t taps, int n, std::vector<std::uint64_t> history);

    // The next `count` words of the stream, each with the bits of every
    // byte reversed when `msb_first` (the first bit in bit 7) and `invert`
    // XORed on: done as they are copied out, with no pass of its own.
    void fill(std::uint64_t* out, std::size_t count, bool msb_first = false, std::uint64_t invert = 0);

private:
    struct Term {
        std::size_t words;  // q of the lag 64 q + r
        unsigned bits;      // r
    };
    std::vector<Term> terms_;
    std::vector<std::uint64_t> buffer_;  // the last history words, then room to make more
    std::size_t history_;
    std::size_t pending_;                // history words not yet put out
};

}  // namespace tapwell

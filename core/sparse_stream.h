// Ring: core. The output of a register of few feedback terms 64 bits at a
// time by its recurrence alone. P(x)^(64 s) = x^(64 s n) + the sum of
// x^(64 s e) over the terms x^e of P below x^n, and the output obeys it
// too: word m of the stream is the XOR of the words m - s (n - e), whole
// words at whole-word lags. No shifts, and a fixed permutation of the bits
// inside every word (the bit order within bytes) commutes with it, so the
// stream is made in the order it is written. s spreads the shortest lag to
// 16 words or more: a word read back only a few words after it was stored
// stalls the loads. Cheaper than the byte tables of word_stream.h
// for a trinomial or a pentanomial, and the same bits. No I/O; a caller's
// buffer and its own.
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
    // Words of output from chip 0 of the stream that the recurrence needs
    // before it can go on alone.
    static std::size_t history_words(std::uint64_t taps, int n);

    // taps of degree n (bit k = coefficient of x^k, k < n); `history`: the
    // first history_words(taps, n) words of the stream (bit t of a word is
    // its t-th bit), put out first. Every word put out has the bits of each
    // byte reversed when `msb_first` (the first bit in bit 7) and `invert`
    // XORed on.
    SparseStream(std::uint64_t taps, int n, std::vector<std::uint64_t> history, bool msb_first = false,
                 std::uint64_t invert = 0);

    // The next `count` words of the stream, made where they are wanted.
    void fill(std::uint64_t* out, std::size_t count);

private:
    std::vector<std::size_t> lags_;      // in words, the longest (the history's length) last
    std::vector<std::uint64_t> history_; // the last words put out, oldest first
    std::size_t pending_;                // history words not yet put out
    std::uint64_t constant_;             // XORed onto each word made, for the inversion
};

}  // namespace tapwell

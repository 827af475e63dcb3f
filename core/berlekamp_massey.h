// Ring: core. Berlekamp-Massey over GF(2), 64 bits a word: the shortest linear
// recurrence s[i] = c_1 s[i-1] + ... + c_L s[i-L] that generates a bit
// sequence of any length. Pure; the buffers are the caller's, so a loop that
// runs it many times does not allocate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/bit_words.h"
#include "core/poly_word.h"
#include "core/stop_check.h"

namespace tapwell {

// Bits packed 64 a word (core/bit_words.h).
struct BitSequence {
    std::vector<std::uint64_t> words;
    std::size_t count = 0;

    bool at(std::size_t i) const { return bit_at(words.data(), i); }
    void push(bool bit) {
        if ((count & 63) == 0) words.push_back(0);
        if (bit) set_bit(words.data(), count);
        ++count;
    }
};

struct LinearRecurrence {
    std::size_t length = 0;                 // L, the linear complexity
    std::vector<std::uint64_t> connection;  // bit j = c_j; c_0 = 1, degree at most L
    bool has(std::size_t j) const { return bit_at(connection.data(), j); }
};

// The working buffers of one run, kept between runs.
struct BerlekampMassey {
    LinearRecurrence result;
    std::vector<std::uint64_t> reversed, previous, saved;
    // Asked every STOP_STEPS bits: a long input costs L / 64 words a bit.
    StopCheck stop;
    bool stopped = false;  // the last run gave up, its result unfinished
    static constexpr std::size_t STOP_STEPS = 1024;

    // The recurrence of bits[0..count); count may be 0.
    const LinearRecurrence& run(const std::uint64_t* bits, std::size_t count);
};

LinearRecurrence linear_recurrence(const BitSequence& bits);
// The same, or nothing when stop asked before it was done.
std::optional<LinearRecurrence> linear_recurrence(const BitSequence& bits, const StopCheck& stop);

// The recurrence's characteristic polynomial x^L + c_1 x^(L-1) + ... + c_L,
// the window's reading of the register that continues the sequence: the
// coefficient word, bit k = coefficient of x^k (L + 1 bits).
std::vector<std::uint64_t> characteristic_word(const LinearRecurrence& r);

// The same as a PolyWord, when the window's register can hold it: 1 <= L <= 64
// and c_L = 1 (otherwise x divides it). {0, 0} when not.
PolyWord characteristic_polynomial(const LinearRecurrence& r);

}  // namespace tapwell

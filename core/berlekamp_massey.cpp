// Ring: core. See berlekamp_massey.h.
//
// The sequence is kept reversed, so that the discrepancy at step i, the parity
// of sum c_j s[i-j] for j = 0..L, is a word-by-word AND of the connection
// polynomial with the reversed bits from offset count - 1 - i: L / 64 words
// a step, and the update C += x^m B is as many.
#include "core/berlekamp_massey.h"

#include <algorithm>
#include <bit>

namespace tapwell {

namespace {


// 64 bits of v from bit offset `at` (v has a zero word past its last).
std::uint64_t load(const std::uint64_t* v, std::size_t at) {
    const std::size_t w = at >> 6;
    const unsigned shift = at & 63;
    if (shift == 0) return v[w];
    return (v[w] >> shift) | (v[w + 1] << (64 - shift));
}

// c ^= b * x^m, for b of `bits` bits.
void add_shifted(std::uint64_t* c, const std::uint64_t* b, std::size_t bits, std::size_t m) {
    const std::size_t word = m >> 6;
    const unsigned shift = m & 63;
    const std::size_t n = words_for(bits);
    if (shift == 0) {
        for (std::size_t k = 0; k < n; ++k) c[word + k] ^= b[k];
        return;
    }
    for (std::size_t k = 0; k < n; ++k) {
        c[word + k] ^= b[k] << shift;
        c[word + k + 1] ^= b[k] >> (64 - shift);
    }
}

}  // namespace

const LinearRecurrence& BerlekampMassey::run(const std::uint64_t* bits, std::size_t count) {
    const std::size_t size = words_for(count + 1) + 2;
    reversed.assign(size, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (bit_at(bits, i)) set_bit(reversed.data(), count - 1 - i);
    }
    std::vector<std::uint64_t>& c = result.connection;
    c.assign(size, 0);
    previous.assign(size, 0);
    saved.assign(size, 0);
    c[0] = 1;
    previous[0] = 1;
    std::size_t length = 0;       // L
    std::size_t previous_bits = 1;  // bits of previous (its degree bound + 1)
    std::size_t shift = 1;        // m: steps since previous was saved
    stopped = false;
    for (std::size_t i = 0; i < count; ++i) {
        if (i % STOP_STEPS == 0 && stop != nullptr && stop()) {
            stopped = true;
            break;
        }
        const std::size_t offset = count - 1 - i;
        const std::size_t n = words_for(length + 1);
        std::uint64_t acc = 0;
        for (std::size_t k = 0; k < n; ++k) acc ^= c[k] & load(reversed.data(), offset + 64 * k);
        if ((std::popcount(acc) & 1) == 0) {
            ++shift;
            continue;
        }
        if (2 * length <= i) {
            std::copy(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(n), saved.begin());
            add_shifted(c.data(), previous.data(), previous_bits, shift);
            std::swap(previous, saved);
            std::fill(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(n), 0);
            previous_bits = length + 1;
            length = i + 1 - length;
            shift = 1;
        } else {
            add_shifted(c.data(), previous.data(), previous_bits, shift);
            ++shift;
        }
    }
    result.length = length;
    c.resize(words_for(length + 1));
    return result;
}

LinearRecurrence linear_recurrence(const BitSequence& bits) {
    BerlekampMassey bm;
    bm.run(bits.words.data(), bits.count);
    return bm.result;
}

std::optional<LinearRecurrence> linear_recurrence(const BitSequence& bits, const StopCheck& stop) {
    BerlekampMassey bm;
    bm.stop = stop;
    bm.run(bits.words.data(), bits.count);
    if (bm.stopped) return std::nullopt;
    return bm.result;
}

std::vector<std::uint64_t> characteristic_word(const LinearRecurrence& r) {
    std::vector<std::uint64_t> word(words_for(r.length + 1), 0);
    for (std::size_t j = 0; j <= r.length; ++j) {
        if (r.has(j)) set_bit(word.data(), r.length - j);
    }
    return word;
}

PolyWord characteristic_polynomial(const LinearRecurrence& r) {
    if (r.length < 1 || r.length > 64 || !r.has(r.length)) return {0, 0};
    // The coefficient of x^k is c_(L-k); the value holds x^L .. x^1.
    std::uint64_t value = 0;
    for (std::size_t k = 1; k <= r.length; ++k) {
        if (r.has(r.length - k)) value |= std::uint64_t{1} << (k - 1);
    }
    return {value, static_cast<int>(r.length)};
}

}  // namespace tapwell

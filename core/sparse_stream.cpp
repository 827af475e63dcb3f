// Ring: core. See sparse_stream.h.
#include "core/sparse_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tapwell {

namespace {

constexpr std::size_t BLOCK = 1024;  // words made between two moves of the history

// The lags (n - e) 2^j of the terms x^e below x^n, with the smallest j that
// puts the shortest lag at 64 or more.
std::vector<std::uint64_t> lags(std::uint64_t taps, int n) {
    const int top = 63 - std::countl_zero(taps & ((n == 64 ? 0 : std::uint64_t{1} << n) - 1u));
    int spread = 1;
    while (static_cast<std::uint64_t>(n - top) * static_cast<std::uint64_t>(spread) < 64) spread *= 2;
    std::vector<std::uint64_t> out;
    for (int e = 0; e < n; ++e) {
        if (taps >> e & 1u) out.push_back(static_cast<std::uint64_t>(n - e) * static_cast<std::uint64_t>(spread));
    }
    return out;
}

}  // namespace

bool SparseStream::suits(std::uint64_t taps, int n) {
    const std::uint64_t below = n == 64 ? taps : taps & ((std::uint64_t{1} << n) - 1u);
    return (below & 1u) != 0 && std::popcount(below) <= MAX_TERMS;
}

std::size_t SparseStream::history_words(std::uint64_t taps, int n) {
    const std::vector<std::uint64_t> l = lags(taps, n);
    return static_cast<std::size_t>(*std::max_element(l.begin(), l.end()) / 64 + 1);
}

SparseStream::SparseStream(std::uint64_t taps, int n, std::vector<std::uint64_t> history)
    : buffer_(std::move(history)), history_(buffer_.size()), pending_(buffer_.size()) {
    for (std::uint64_t lag : lags(taps, n)) terms_.push_back({static_cast<std::size_t>(lag / 64), static_cast<unsigned>(lag % 64)});
    buffer_.resize(history_ + BLOCK);
}

void SparseStream::fill(std::uint64_t* out, std::size_t count, bool msb_first, std::uint64_t invert) {
    const auto finish = [msb_first, invert](std::uint64_t w) {
        return (msb_first ? bits_reversed_in_bytes(w) : w) ^ invert;
    };
    while (count > 0 && pending_ > 0) {
        *out++ = finish(buffer_[history_ - pending_--]);
        --count;
    }
    std::uint64_t* w = buffer_.data();
    while (count > 0) {
        const std::size_t make = std::min(count, BLOCK);
        for (std::size_t m = history_; m < history_ + make; ++m) {
            std::uint64_t word = 0;
            for (const Term& t : terms_) {
                const std::size_t i = m - t.words;
                word ^= t.bits == 0 ? w[i] : (w[i - 1] >> (64 - t.bits)) | (w[i] << t.bits);
            }
            w[m] = word;
        }
        if (msb_first || invert != 0) {
            for (std::size_t i = 0; i < make; ++i) out[i] = finish(w[history_ + i]);
        } else {
            std::memcpy(out, w + history_, make * sizeof(std::uint64_t));
        }
        std::memmove(w, w + make, history_ * sizeof(std::uint64_t));
        out += make;
        count -= make;
    }
}

}  // namespace tapwell

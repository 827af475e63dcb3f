// Ring: core. See sparse_stream.h.
#include "core/sparse_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/bit_words.h"

namespace tapwell {

namespace {

std::uint64_t below_top(std::uint64_t taps, int n) { return n == 64 ? taps : taps & ((std::uint64_t{1} << n) - 1u); }

// out[i] for i >= lags.back(): every term inside `out` itself. K terms,
// known when compiled, so that the loop holds only loads and XORs.
template <int K>
void run(std::uint64_t* out, std::size_t from, std::size_t to, const std::size_t* lags, std::uint64_t constant) {
    std::size_t l[K];
    for (int k = 0; k < K; ++k) l[k] = lags[k];
    for (std::size_t i = from; i < to; ++i) {
        std::uint64_t w = constant;
        for (int k = 0; k < K; ++k) w ^= out[i - l[k]];
        out[i] = w;
    }
}

using Run = void (*)(std::uint64_t*, std::size_t, std::size_t, const std::size_t*, std::uint64_t);
constexpr Run RUNS[SparseStream::MAX_TERMS] = {run<1>, run<2>, run<3>, run<4>, run<5>, run<6>};

constexpr std::size_t SHORTEST_LAG = 16;

// The lags in words, longest last.
std::vector<std::size_t> word_lags(std::uint64_t taps, int n) {
    const std::uint64_t below = below_top(taps, n);
    const std::size_t gap = static_cast<std::size_t>(n - (63 - std::countl_zero(below)));
    std::size_t spread = 1;
    while (gap * spread < SHORTEST_LAG) spread *= 2;
    std::vector<std::size_t> lags;
    for (int e = n - 1; e >= 0; --e) {
        if (below >> e & 1u) lags.push_back(static_cast<std::size_t>(n - e) * spread);
    }
    return lags;
}

}  // namespace

std::size_t SparseStream::history_words(std::uint64_t taps, int n) { return word_lags(taps, n).back(); }

bool SparseStream::suits(std::uint64_t taps, int n) {
    const std::uint64_t below = below_top(taps, n);
    return (below & 1u) != 0 && std::popcount(below) <= MAX_TERMS;
}

SparseStream::SparseStream(std::uint64_t taps, int n, std::vector<std::uint64_t> history, bool msb_first,
                           std::uint64_t invert)
    : lags_(word_lags(taps, n)), history_(std::move(history)), pending_(history_.size()) {
    // Inverted words sum to the inverted word when their count is odd; an
    // even count cancels the inversion, which is then put back.
    constant_ = lags_.size() % 2 == 0 ? invert : 0;
    for (std::uint64_t& w : history_) w = (msb_first ? bits_reversed_in_bytes(w) : w) ^ invert;
}

void SparseStream::fill(std::uint64_t* out, std::size_t count) {
    const std::size_t n = history_.size();
    std::size_t i = 0;
    for (; i < count && pending_ > 0; ++i) out[i] = history_[n - pending_--];
    if (i == count) return;
    // The first n words made (n: the longest lag) reach back into the
    // history, the rest only into `out`.
    const std::size_t start = i;
    const std::size_t near = std::min(count, start + n);
    for (; i < near; ++i) {
        std::uint64_t w = constant_;
        for (std::size_t lag : lags_) {
            const std::size_t back = i - start;
            w ^= back >= lag ? out[i - lag] : history_[n - (lag - back)];
        }
        out[i] = w;
    }
    if (i < count) RUNS[lags_.size() - 1](out + start, i - start, count - start, lags_.data(), constant_);
    const std::size_t made = count - start;
    if (made >= n) {
        std::memcpy(history_.data(), out + count - n, n * sizeof(std::uint64_t));
    } else {
        std::memmove(history_.data(), history_.data() + made, (n - made) * sizeof(std::uint64_t));
        std::memcpy(history_.data() + (n - made), out + start, made * sizeof(std::uint64_t));
    }
}

}  // namespace tapwell

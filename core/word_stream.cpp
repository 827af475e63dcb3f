// Ring: core. See word_stream.h. Each table entry is the XOR of the images
// of its set bits, so an entry costs one XOR on the entry with its lowest
// bit cleared.
#include "core/word_stream.h"

#include <bit>

#include "core/step_matrix.h"

namespace tapwell {

void build_word_tables(WordTables& tables, std::uint64_t taps, int n, RegisterForm form, bool msb_first) {
    const StepMatrix m = step_matrix(taps, n, form, 64);
    std::array<std::uint64_t, 64> out_of{}, next_of{};  // the images of stage j alone
    for (int t = 0; t < 64; ++t) {
        const int at = msb_first ? (t & ~7) | (7 - (t & 7)) : t;
        for (int j = 0; j < n; ++j) out_of[static_cast<std::size_t>(j)] |= (m.output[static_cast<std::size_t>(t)] >> j & 1u) << at;
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) next_of[static_cast<std::size_t>(j)] |= (m.next[static_cast<std::size_t>(i)] >> j & 1u) << i;
    }
    tables.bytes = (n + 7) / 8;
    for (std::size_t b = 0; b < 8; ++b) {
        tables.entry[b][0] = {0, 0};
        for (unsigned v = 1; v < 256; ++v) {
            const std::size_t j = 8 * b + static_cast<std::size_t>(std::countr_zero(v));
            const WordEntry& below = tables.entry[b][v & (v - 1)];
            tables.entry[b][v] = {below.out ^ out_of[j], below.next ^ next_of[j]};
        }
    }
}

namespace {

template <int BYTES>
void fill(const WordTables& t, std::uint64_t& state, std::uint64_t* words, std::size_t count, std::uint64_t invert,
          bool add) {
    std::uint64_t s = state;
    if (add) {
        for (std::size_t i = 0; i < count; ++i) words[i] ^= next_word<BYTES>(t, s);
    } else {
        for (std::size_t i = 0; i < count; ++i) words[i] = next_word<BYTES>(t, s) ^ invert;
    }
    state = s;
}

using Fill = void (*)(const WordTables&, std::uint64_t&, std::uint64_t*, std::size_t, std::uint64_t, bool);
constexpr Fill FILLS[8] = {fill<1>, fill<2>, fill<3>, fill<4>, fill<5>, fill<6>, fill<7>, fill<8>};

}  // namespace

void fill_words(const WordTables& tables, std::uint64_t& state, std::uint64_t* words, std::size_t count,
                std::uint64_t invert, bool add) {
    FILLS[tables.bytes - 1](tables, state, words, count, invert, add);
}

}  // namespace tapwell

// Ring: core. See word_stream.h. Each table entry is the XOR of the images
// of its set bits, so an entry costs one XOR on the entry with its lowest
// bit cleared.
#include "core/word_stream.h"

#include <bit>

#include "core/step_matrix.h"

namespace tapwell {

namespace {

// The entries of every state byte from the images of the n stages alone.
void fill_table(ByteTables& table, const std::array<std::uint64_t, 64>& image_of) {
    for (std::size_t b = 0; b < 8; ++b) {
        table[b][0] = 0;
        for (unsigned v = 1; v < 256; ++v) {
            table[b][v] = table[b][v & (v - 1)] ^ image_of[8 * b + static_cast<std::size_t>(std::countr_zero(v))];
        }
    }
}

// The image of stage j alone under the masks of the state after the steps.
std::array<std::uint64_t, 64> images_of_next(const StepMatrix& m) {
    std::array<std::uint64_t, 64> next_of{};
    for (int i = 0; i < m.degree; ++i) {
        for (int j = 0; j < m.degree; ++j) {
            next_of[static_cast<std::size_t>(j)] |= (m.next[static_cast<std::size_t>(i)] >> j & 1u) << i;
        }
    }
    return next_of;
}

}  // namespace

void build_word_tables(WordTables& tables, std::uint64_t taps, int n, RegisterForm form, bool msb_first) {
    constexpr int SPAN = WordTables::SPAN;
    const StepMatrix m = step_matrix(taps, n, form, 64 * SPAN);
    ByteTables out[SPAN], far;
    for (int k = 0; k < SPAN; ++k) {
        std::array<std::uint64_t, 64> out_of{};
        for (int t = 0; t < 64; ++t) {
            const int at = msb_first ? (t & ~7) | (7 - (t & 7)) : t;
            const std::uint64_t mask = m.output[static_cast<std::size_t>(64 * k + t)];
            for (int j = 0; j < n; ++j) out_of[static_cast<std::size_t>(j)] |= (mask >> j & 1u) << at;
        }
        fill_table(out[k], out_of);
    }
    fill_table(far, images_of_next(step_matrix(taps, n, form, 64 * SPAN * WordTables::CHAINS)));
    fill_table(tables.next, images_of_next(step_matrix(taps, n, form, 64)));
    for (std::size_t b = 0; b < 8; ++b) {
        for (std::size_t v = 0; v < 256; ++v) {
            WordTables::Entry& e = tables.entry[b][v];
            for (int k = 0; k < SPAN; ++k) e.out[k] = out[k][b][v];
            e.far = far[b][v];
        }
    }
    tables.bytes = (n + 7) / 8;
}

namespace {

std::size_t byte_at(std::uint64_t state, int b) {
    return static_cast<unsigned>(state >> (8 * b)) & 0xFFu;
}

// One word a step, through the first word of each entry and the 64-step table.
template <int BYTES>
void fill_serial(const WordTables& t, std::uint64_t& state, std::uint64_t* words, std::size_t count,
                 std::uint64_t invert, bool add) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint64_t w = 0, next = 0;
        for (int b = 0; b < BYTES; ++b) {
            const std::size_t v = byte_at(state, b);
            w ^= t.entry[static_cast<std::size_t>(b)][v].out[0];
            next ^= t.next[static_cast<std::size_t>(b)][v];
        }
        words[i] = add ? words[i] ^ w : w ^ invert;
        state = next;
    }
}

template <int BYTES>
void fill(const WordTables& t, std::uint64_t& state, std::uint64_t* words, std::size_t count, std::uint64_t invert,
          bool add) {
    constexpr int C = WordTables::CHAINS, SPAN = WordTables::SPAN;
    constexpr std::size_t TURN = static_cast<std::size_t>(C * SPAN);  // words a turn of every chain
    if (count < 2 * TURN) {
        fill_serial<BYTES>(t, state, words, count, invert, add);
        return;
    }
    // Chain j holds the state of word i + j SPAN.
    std::uint64_t s[C];
    s[0] = state;
    for (int j = 1; j < C; ++j) {
        s[j] = s[j - 1];
        std::uint64_t skipped[SPAN];
        fill_serial<BYTES>(t, s[j], skipped, SPAN, 0, false);
    }
    std::size_t i = 0;
    for (; i + TURN <= count; i += TURN) {
        for (int j = 0; j < C; ++j) {
            std::uint64_t w[SPAN] = {}, far = 0;
            for (int b = 0; b < BYTES; ++b) {
                const WordTables::Entry& e = t.entry[static_cast<std::size_t>(b)][byte_at(s[j], b)];
                for (int k = 0; k < SPAN; ++k) w[k] ^= e.out[k];
                far ^= e.far;
            }
            std::uint64_t* at = words + i + static_cast<std::size_t>(j * SPAN);
            for (int k = 0; k < SPAN; ++k) at[k] = add ? at[k] ^ w[k] : w[k] ^ invert;
            s[j] = far;
        }
    }
    state = s[0];  // the state of word i
    fill_serial<BYTES>(t, state, words + i, count - i, invert, add);
}

using Fill = void (*)(const WordTables&, std::uint64_t&, std::uint64_t*, std::size_t, std::uint64_t, bool);
constexpr Fill FILLS[8] = {fill<1>, fill<2>, fill<3>, fill<4>, fill<5>, fill<6>, fill<7>, fill<8>};

}  // namespace

void fill_words(const WordTables& tables, std::uint64_t& state, std::uint64_t* words, std::size_t count,
                std::uint64_t invert, bool add) {
    FILLS[tables.bytes - 1](tables, state, words, count, invert, add);
}

}  // namespace tapwell

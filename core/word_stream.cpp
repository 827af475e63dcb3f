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
    for (std::size_t b = 0; b < 8; ++b) {
        tables.out[b][0] = tables.next[b][0] = 0;
        for (unsigned v = 1; v < 256; ++v) {
            const std::size_t j = 8 * b + static_cast<std::size_t>(std::countr_zero(v));
            tables.out[b][v] = tables.out[b][v & (v - 1)] ^ out_of[j];
            tables.next[b][v] = tables.next[b][v & (v - 1)] ^ next_of[j];
        }
    }
}

}  // namespace tapwell

// Ring: core. See walsh_transform.h.
#include "core/walsh_transform.h"

namespace tapwell {

namespace {

constexpr int BLOCK_BITS = 13;           // 32 or 64 KiB: the in-cache transforms
constexpr std::size_t SLICE = 1024;      // low indices kept in cache across four rows
constexpr int PIECE_BITS = 16;           // butterflies per piece of a large stride

// The four-point transforms of strides h and 2h for j in [from, to): the one
// butterfly of both the in-cache and the large strides. Kept a plain loop over
// j so that it vectorises.
template <typename T>
inline void butterflies(T* data, std::size_t from, std::size_t to, std::size_t h) {
    for (std::size_t j = from; j < to; ++j) {
        const T a0 = data[j], a1 = data[j + h], a2 = data[j + 2 * h], a3 = data[j + 3 * h];
        const T s01 = a0 + a1, d01 = a0 - a1, s23 = a2 + a3, d23 = a2 - a3;
        data[j] = s01 + s23;
        data[j + h] = d01 + d23;
        data[j + 2 * h] = s01 - s23;
        data[j + 3 * h] = d01 - d23;
    }
}

// The two-point transforms of stride h for j in [from, to): the one stride
// left over when the strides go two at a time.
template <typename T>
inline void pairs(T* data, std::size_t from, std::size_t to, std::size_t h) {
    for (std::size_t j = from; j < to; ++j) {
        const T a0 = data[j], a1 = data[j + h];
        data[j] = a0 + a1;
        data[j + h] = a0 - a1;
    }
}

// Butterflies of every stride below 2^bits inside one block that fits the cache.
template <typename T>
void transform_block(T* data, int bits) {
    const std::size_t size = std::size_t{1} << bits;
    // Two strides at a time: one pass over the block does four-point transforms.
    int b = 0;
    for (; b + 1 < bits; b += 2) {
        const std::size_t h = std::size_t{1} << b;
        for (std::size_t i = 0; i < size; i += 4 * h) butterflies(data, i, i + h, h);
    }
    if (b < bits) pairs(data, 0, std::size_t{1} << b, std::size_t{1} << b);
}

// The phases: 0, every block of 2^BLOCK_BITS in cache (or the whole when it
// is smaller); then the strides from 2^BLOCK_BITS up, two at a time; then the
// largest stride alone when one is left over.
int block_bits(int bits) { return bits < BLOCK_BITS ? bits : BLOCK_BITS; }
int double_strides(int bits) { return (bits - block_bits(bits)) / 2; }
bool single_stride(int bits) { return (bits - block_bits(bits)) % 2 != 0; }

template <typename T>
void piece_of(T* data, int bits, int phase, std::size_t piece) {
    const std::size_t size = std::size_t{1} << bits;
    if (phase == 0) {
        transform_block(data + (piece << block_bits(bits)), block_bits(bits));
        return;
    }
    const std::size_t per_piece = std::size_t{1} << PIECE_BITS;
    if (phase <= double_strides(bits)) {
        // Stride h: the butterflies are numbered by group i (of 4h values)
        // and low index j within it; a piece is a run of those numbers, in
        // slices of the low index.
        const std::size_t h = std::size_t{1} << (block_bits(bits) + 2 * (phase - 1));
        for (std::size_t at = piece * per_piece; at < (piece + 1) * per_piece && at < size / 4; at += SLICE) {
            const std::size_t i = (at / h) * 4 * h, j = at % h;
            butterflies(data, i + j, i + j + SLICE, h);
        }
        return;
    }
    const std::size_t h = size / 2;
    const std::size_t from = piece * per_piece;
    pairs(data, from, from + per_piece < h ? from + per_piece : h, h);
}

template <typename T>
bool transform(T* data, int bits, StopCheck stop) {
    for (int phase = 0; phase < walsh_phase_count(bits); ++phase) {
        const std::size_t pieces = walsh_piece_count(bits, phase);
        for (std::size_t piece = 0; piece < pieces; ++piece) {
            piece_of(data, bits, phase, piece);
            if (stop != nullptr && stop()) return false;
        }
    }
    return true;
}

}  // namespace

int walsh_phase_count(int bits) { return 1 + double_strides(bits) + (single_stride(bits) ? 1 : 0); }

std::size_t walsh_piece_count(int bits, int phase) {
    const std::size_t size = std::size_t{1} << bits;
    if (phase == 0) return size >> block_bits(bits);
    const std::size_t butterflies_of_phase = phase <= double_strides(bits) ? size / 4 : size / 2;
    return (butterflies_of_phase + (std::size_t{1} << PIECE_BITS) - 1) >> PIECE_BITS;
}

void walsh_piece(std::int32_t* data, int bits, int phase, std::size_t piece) { piece_of(data, bits, phase, piece); }
void walsh_piece(std::int64_t* data, int bits, int phase, std::size_t piece) { piece_of(data, bits, phase, piece); }

bool walsh_hadamard(std::int32_t* data, int bits, StopCheck stop) { return transform(data, bits, stop); }
bool walsh_hadamard(std::int64_t* data, int bits, StopCheck stop) { return transform(data, bits, stop); }

}  // namespace tapwell

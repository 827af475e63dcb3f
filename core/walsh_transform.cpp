// Ring: core. See walsh_transform.h.
#include "core/walsh_transform.h"

#include <cstddef>

namespace tapwell {

namespace {

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

// The one stride left over when the strides go two at a time: the largest.
// False when stopped (the stop flag is read every 2^17 butterflies).
template <typename T>
bool last_stride(T* data, std::size_t h, StopCheck stop) {
    for (std::size_t j = 0; j < h; ++j) {
        const T a0 = data[j], a1 = data[j + h];
        data[j] = a0 + a1;
        data[j + h] = a0 - a1;
        if (stop != nullptr && (j & ((std::size_t{1} << 17) - 1)) == 0 && stop()) return false;
    }
    return true;
}

// Butterflies of every stride below 2^bits inside one block that fits the cache.
template <typename T>
void transform_block(T* data, int bits) {
    const std::size_t size = std::size_t{1} << bits;
    // Two strides at a time: one pass over the block does four-point transforms.
    int b = 0;
    for (; b + 1 < bits; b += 2) {
        const std::size_t h = std::size_t{1} << b;
        for (std::size_t i = 0; i < size; i += 4 * h) {
            butterflies(data, i, i + h, h);
        }
    }
    if (b < bits) last_stride(data, std::size_t{1} << b, nullptr);
}

template <typename T>
bool transform(T* data, int bits, StopCheck stop) {
    constexpr int BLOCK_BITS = 13;  // 32 or 64 KiB
    if (bits <= BLOCK_BITS) {
        transform_block(data, bits);
        return true;
    }
    const std::size_t size = std::size_t{1} << bits;
    const std::size_t block = std::size_t{1} << BLOCK_BITS;
    for (std::size_t i = 0; i < size; i += block) {
        transform_block(data + i, BLOCK_BITS);
        if (stop != nullptr && (i & ((block << 4) - 1)) == 0 && stop()) return false;
    }
    // The strides from 2^BLOCK_BITS up, two at a time, in slices of the
    // low index so each slice stays in cache across its four rows.
    constexpr std::size_t SLICE = 1024;
    std::size_t work = 0;
    int b = BLOCK_BITS;
    for (; b + 1 < bits; b += 2) {
        const std::size_t h = std::size_t{1} << b;
        for (std::size_t i = 0; i < size; i += 4 * h) {
            for (std::size_t j0 = i; j0 < i + h; j0 += SLICE) {
                butterflies(data, j0, j0 + SLICE, h);
                work += SLICE;
                if (stop != nullptr && (work & ((SLICE << 6) - 1)) == 0 && stop()) return false;
            }
        }
    }
    return b < bits ? last_stride(data, std::size_t{1} << b, stop) : true;
}

}  // namespace

bool walsh_hadamard(std::int32_t* data, int bits, StopCheck stop) { return transform(data, bits, stop); }
bool walsh_hadamard(std::int64_t* data, int bits, StopCheck stop) { return transform(data, bits, stop); }

}  // namespace tapwell

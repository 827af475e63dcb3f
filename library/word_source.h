// Ring: library. The words of a source's output, 64 bits at a time from
// any chip, for the streams and the additive scrambler: by each register's
// recurrence when it has few terms (core/sparse_stream.h), by the byte
// tables otherwise (core/word_stream.h). The sum, the inversion and the bit
// order are applied to the words once made.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/sparse_stream.h"
#include "core/word_stream.h"
#include "tapwell/streams.hpp"

namespace tapwell {

// The words of a piece: 256 KiB packed, few enough write calls and still
// in the cache.
constexpr std::size_t PIECE_WORDS = 32768;

// Bit t of a word is its t-th bit (lsb first) or, msb first, bit 7 - t % 8
// of its byte t / 8: the words' bytes in little-endian order are the stream
// packed. Throws InvalidArgument for a source no computation runs.
class WordSource {
public:
    WordSource(const BitSource& source, std::uint64_t skip, bool msb_first);
    // The next words.size() words.
    void fill(std::span<std::uint64_t> words);

private:
    struct Part {
        std::unique_ptr<WordTables> tables;
        std::unique_ptr<SparseStream> sparse;
        std::uint64_t state = 0;
    };

    std::vector<Part> parts_;
    std::vector<std::uint64_t> sum_;
    std::uint64_t invert_;
    bool msb_first_;
};

}  // namespace tapwell

// Ring: library. tapwell/streams.hpp over core's two ways of making 64 bits a
// step (core/sparse_stream.h, core/word_stream.h): every register of a
// source moved to the first chip by its jump; the text formats are made from
// those words a piece at a time, so that nothing grows with the length.
#include "tapwell/streams.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <numeric>
#include <string>

#include "core/shift_register.h"
#include "library/word_source.h"
#include "library/api_support.h"
#include "library/poly_conversion.h"
#include "library/register_check.h"
#include "tapwell/registers.hpp"

namespace tapwell {

namespace {

// The words' bytes in stream order: little-endian, as the tables place them.
void store_words(std::span<const std::uint64_t> words, std::uint8_t* out, std::size_t bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, words.data(), bytes);
    } else {
        for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(words[i / 8] >> (8 * (i % 8)));
    }
}

// The unused bits of a last byte holding `used` bits (1..7) cleared.
std::uint8_t last_byte(std::uint8_t byte, unsigned used, BitOrder order) {
    const unsigned keep = (1u << used) - 1u;
    return static_cast<std::uint8_t>(order == BitOrder::lsb_first ? byte & keep : byte & (keep << (8 - used)));
}

}  // namespace

void packed_bits(const BitSource& source, std::uint64_t skip, BitOrder order, std::span<std::uint8_t> out) {
    WordSource words(source, skip, order == BitOrder::msb_first);
    std::vector<std::uint64_t> piece(PIECE_WORDS);
    for (std::size_t at = 0; at < out.size();) {
        const std::size_t bytes = std::min(out.size() - at, PIECE_WORDS * 8);
        const std::span<std::uint64_t> used(piece.data(), (bytes + 7) / 8);
        words.fill(used);
        store_words(used, out.data() + at, bytes);
        at += bytes;
    }
}

std::uint64_t stream_size(const StreamRequest& request) {
    const std::uint64_t n = request.length;
    const std::uint64_t packed = n / 8 + (n % 8 != 0);
    switch (request.format) {
        case StreamFormat::packed: return packed;
        case StreamFormat::hex:
            if (packed > (UINT64_MAX - 1) / 2) break;
            return 2 * packed + 1;
        case StreamFormat::bits:
            if (n == UINT64_MAX) break;
            return n + 1;
        case StreamFormat::bipolar:
            if (n > UINT64_MAX / 3) break;
            return n == 0 ? 1 : 3 * n;  // n signs of 2, n - 1 spaces and the newline
    }
    throw InvalidArgument("a stream of " + std::to_string(n) + " bits in that format has more bytes than 2^64");
}

void write_stream(const StreamRequest& request, const std::function<void(std::span<const std::uint8_t>)>& sink,
                  const RunOptions& options) {
    stream_size(request);
    const bool packed_order = request.format == StreamFormat::packed || request.format == StreamFormat::hex;
    WordSource words(request.source, request.skip, packed_order && request.order == BitOrder::msb_first);
    std::vector<std::uint64_t> piece(PIECE_WORDS);
    std::vector<std::uint8_t> bytes(PIECE_WORDS * 8 * (packed_order ? 2 : 3) + 1);
    static constexpr char HEX[] = "0123456789abcdef";
    for (std::uint64_t done = 0; done < request.length;) {
        if (options.stop.stop_requested()) throw Stopped();
        const std::uint64_t bits = std::min<std::uint64_t>(request.length - done, PIECE_WORDS * 64);
        const std::span<std::uint64_t> used(piece.data(), static_cast<std::size_t>((bits + 63) / 64));
        words.fill(used);
        done += bits;
        const bool last = done == request.length;
        std::size_t size = 0;
        if (request.format == StreamFormat::packed && std::endian::native == std::endian::little) {
            // The words are the bytes already: handed over where they are.
            const std::size_t count = static_cast<std::size_t>((bits + 7) / 8);
            auto* packed = reinterpret_cast<std::uint8_t*>(used.data());
            if (bits % 8 != 0) packed[count - 1] = last_byte(packed[count - 1], bits % 8, request.order);
            sink(std::span<const std::uint8_t>(packed, count));
            continue;
        }
        if (packed_order) {
            const std::size_t count = static_cast<std::size_t>((bits + 7) / 8);
            store_words(used, bytes.data(), count);
            if (bits % 8 != 0) bytes[count - 1] = last_byte(bytes[count - 1], bits % 8, request.order);
            if (request.format == StreamFormat::hex) {
                for (std::size_t i = count; i-- > 0;) {
                    const std::uint8_t b = bytes[i];
                    bytes[2 * i] = static_cast<std::uint8_t>(HEX[b >> 4]);
                    bytes[2 * i + 1] = static_cast<std::uint8_t>(HEX[b & 15u]);
                }
                size = 2 * count;
            } else {
                size = count;
            }
        } else {
            for (std::uint64_t i = 0; i < bits; ++i) {
                const bool one = (used[i / 64] >> (i % 64) & 1u) != 0;
                if (request.format == StreamFormat::bits) {
                    bytes[size++] = one ? '1' : '0';
                } else {
                    bytes[size++] = one ? '-' : '+';
                    bytes[size++] = '1';
                    if (!last || i + 1 < bits) bytes[size++] = ' ';
                }
            }
        }
        if (last && request.format != StreamFormat::packed) bytes[size++] = '\n';
        sink(std::span<const std::uint8_t>(bytes.data(), size));
    }
    if (request.length == 0 && request.format != StreamFormat::packed) {
        static constexpr std::uint8_t NEWLINE[] = {'\n'};
        sink(NEWLINE);
    }
}

std::uint64_t source_period(const BitSource& source) {
    std::uint64_t period = 1;
    for (const Register& reg : source.registers) {
        check_register(reg);
        const std::uint64_t p = reg.polynomial.order();
        const std::uint64_t g = std::gcd(period, p);
        if (period / g > UINT64_MAX / p) return 0;
        period = period / g * p;
    }
    return period;
}

std::uint64_t one_period_length(const BitSource& source) {
    constexpr std::uint64_t LIMIT = std::uint64_t{1} << 36;
    const std::uint64_t period = source_period(source);
    if (period == 0 || period > LIMIT) {
        throw InvalidArgument("the period of these registers is " +
                              (period == 0 ? std::string("more than 2^64") : std::to_string(period)) +
                              " bits, too long to write whole: give a length");
    }
    return period;
}

}  // namespace tapwell

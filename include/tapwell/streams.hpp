// tapwell: the output of registers as a stream of bits, packed into bytes or
// written as text, from any chip on, to degree 64 in either form.
//
// A source is one register, or the sum (XOR) of the outputs of several (two
// for a Gold code), inverted when the standard sends it so. Chip 0 is the
// first bit the registers put out as given (tapwell/sequences.hpp); `skip`
// starts the stream at a later chip without stepping there
// (tapwell/registers.hpp's jump).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "tapwell/export.hpp"
#include "tapwell/run_options.hpp"
#include "tapwell/sequences.hpp"

namespace tapwell {

struct BitSource {
    std::vector<Register> registers;  // at least one; their outputs are added
    bool inverted = false;            // every bit complemented
};

// Where the first of each 8 bits goes in a packed byte.
enum class BitOrder : int { msb_first = 0, lsb_first = 1 };

enum class StreamFormat : int {
    packed = 0,   // ceil(length / 8) bytes, the last one's unused bits 0
    bits = 1,     // "0"/"1" a bit, then "\n"
    hex = 2,      // the packed bytes as two lower-case hex digits each, then "\n"
    bipolar = 3,  // "+1" for 0 and "-1" for 1, separated by spaces, then "\n"
};

struct StreamRequest {
    BitSource source;
    std::uint64_t skip = 0;    // the first chip written
    std::uint64_t length = 0;  // bits written
    StreamFormat format = StreamFormat::packed;
    BitOrder order = BitOrder::msb_first;  // packed and hex
};

// Bits skip .. skip + 8 * out.size() - 1 of the source, packed. Throws
// InvalidArgument for a source without registers or with a register no
// computation runs (tapwell/sequences.hpp).
TAPWELL_API void packed_bits(const BitSource& source, std::uint64_t skip, BitOrder order,
                             std::span<std::uint8_t> out);

// The bytes the request writes in its format; throws InvalidArgument when
// they do not fit in 64 bits.
TAPWELL_API std::uint64_t stream_size(const StreamRequest& request);

// Writes the request's bytes to `sink` in order, in pieces of at most a few
// hundred kilobytes (their views are valid only during the call). Throws
// tapwell::Stopped when the stop token is requested between pieces, and
// whatever the sink throws, so that a caller can give up on a half-written
// stream.
TAPWELL_API void write_stream(const StreamRequest& request,
                              const std::function<void(std::span<const std::uint8_t>)>& sink,
                              const RunOptions& options = {});

// The period of the source's output (the least common multiple of its
// registers' periods), or 0 when it does not fit in 64 bits.
TAPWELL_API std::uint64_t source_period(const BitSource& source);

// The length of a stream when none is asked for: one period of the source.
// Throws InvalidArgument, in words, when that is beyond 2^36 bits (8 GiB
// packed), too long to be meant whole.
TAPWELL_API std::uint64_t one_period_length(const BitSource& source);

}  // namespace tapwell

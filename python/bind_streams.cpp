// Ring: python. tapwell.sequence: the stream of a register, a preset or a
// Gold sum (tapwell/streams.hpp) from any chip on, written by the library
// straight into a numpy array: packed bytes as they are, bits and +1/-1
// spread from packed bytes eight at a time.
#include <pybind11/numpy.h>

#include <array>
#include <cstring>

#include "python/support.h"
#include "tapwell/errors.hpp"
#include "tapwell/streams.hpp"

namespace tapwell::python {

namespace {

// Packed bytes made between looks at the stop token: a millisecond or two,
// and enough that the jump and set-up of each piece's start cost little.
// Spread into bits, a piece is made in a buffer that stays in the cache.
constexpr std::size_t PIECE_BYTES = std::size_t{1} << 23;
constexpr std::size_t SPREAD_PIECE_BYTES = std::size_t{1} << 20;
// Below this many bytes a thread of its own costs more than the stream.
constexpr std::size_t INLINE_BYTES = std::size_t{1} << 16;

enum class Format { bits, packed, bipolar };

Format format_named(const std::string& name) {
    if (name == "bits") return Format::bits;
    if (name == "packed") return Format::packed;
    if (name == "bipolar") return Format::bipolar;
    throw InvalidArgument("format '" + name + "': the formats are 'bits' (uint8 0/1), 'packed' (uint8 bytes) and "
                          "'bipolar' (int8 +1 for 0, -1 for 1)");
}

// byte j of the entry for b is bit j of b, as 0/1 or as int8 +1/-1.
template <std::uint8_t ZERO, std::uint8_t ONE>
constexpr std::array<std::uint64_t, 256> spread_table() {
    std::array<std::uint64_t, 256> table{};
    for (std::size_t b = 0; b < 256; ++b) {
        for (int j = 0; j < 8; ++j) table[b] |= std::uint64_t{(b >> j & 1u) ? ONE : ZERO} << (8 * j);
    }
    return table;
}
constexpr auto BITS_OF = spread_table<0, 1>();
constexpr auto BIPOLAR_OF = spread_table<1, 0xFF>();

std::uint64_t default_length(const SourceArg& s) {
    if (s.preset && s.preset->origin.code_length != 0) return s.preset->origin.code_length;
    return one_period_length(s.source);
}

// The stream is made a piece at a time so that Ctrl-C is heard; each piece
// starts where one call from `skip` would be. Past chip 2^64 - 1 that is
// the chip a period earlier, which only a period within 64 bits can name.
class Pieces {
public:
    Pieces(const BitSource& source, std::uint64_t skip, std::uint64_t length) : source_(source), skip_(skip) {
        if (length != 0 && length - 1 > UINT64_MAX - skip) {
            period_ = source_period(source);
            if (period_ == 0) {
                throw InvalidArgument("skip + length passes chip 2^64 - 1 of registers whose period is more than "
                                      "2^64: no chip beyond it can be named");
            }
        }
    }
    // Packed bytes [at, at + out.size()) of the stream.
    void fill(std::size_t at, BitOrder order, std::span<std::uint8_t> out) const {
        const unsigned __int128 chip = static_cast<unsigned __int128>(skip_) + 8 * static_cast<unsigned __int128>(at);
        const std::uint64_t start = chip <= UINT64_MAX ? static_cast<std::uint64_t>(chip)
                                                       : static_cast<std::uint64_t>(chip % period_);
        packed_bits(source_, start, order, out);
    }

private:
    const BitSource& source_;
    std::uint64_t skip_;
    std::uint64_t period_ = 0;
};

void fill_packed(const Pieces& pieces, BitOrder order, std::uint64_t length, std::span<std::uint8_t> out,
                 const RunOptions& options) {
    for (std::size_t at = 0; at < out.size(); at += PIECE_BYTES) {
        if (options.stop.stop_requested()) throw Stopped();
        pieces.fill(at, order, out.subspan(at, std::min(PIECE_BYTES, out.size() - at)));
    }
    // As tapwell-cli writes it: the last byte's unused bits 0.
    if (const unsigned used = static_cast<unsigned>(length % 8); used != 0) {
        const unsigned keep = (1u << used) - 1u;
        out.back() &= static_cast<std::uint8_t>(order == BitOrder::lsb_first ? keep : keep << (8 - used));
    }
}

void fill_spread(const Pieces& pieces, const std::array<std::uint64_t, 256>& table, std::span<std::uint8_t> out,
                 const RunOptions& options) {
    std::vector<std::uint8_t> packed(std::min(SPREAD_PIECE_BYTES, out.size() / 8 + 1));
    const std::size_t bytes = out.size() / 8 + (out.size() % 8 != 0);
    std::uint8_t* to = out.data();
    std::size_t left = out.size();
    for (std::size_t at = 0; at < bytes; at += packed.size()) {
        if (options.stop.stop_requested()) throw Stopped();
        const std::span<std::uint8_t> piece(packed.data(), std::min(packed.size(), bytes - at));
        pieces.fill(at, BitOrder::lsb_first, piece);
        for (const std::uint8_t b : piece) {
            if (left >= 8) {
                std::memcpy(to, &table[b], 8);
                to += 8;
                left -= 8;
            } else {
                const std::uint64_t spread = table[b];
                std::memcpy(to, &spread, left);
                left = 0;
            }
        }
    }
}

py::array sequence_of(py::object source, std::optional<std::uint64_t> length, std::uint64_t skip,
                      const std::string& format, const std::string& bit_order) {
    const SourceArg s = source_arg(source);
    format_named(format);
    const BitOrder order = bit_order_named(bit_order);
    return stream_array(s.source, skip, length ? *length : default_length(s), format, order);
}

}  // namespace

py::array stream_array(const BitSource& source, std::uint64_t skip, std::uint64_t length, const std::string& format_text,
                       BitOrder order) {
    const Format format = format_named(format_text);
    const Pieces pieces(source, skip, length);
    const std::size_t count =
        checked_items(format == Format::packed ? length / 8 + (length % 8 != 0) : length, 1, "a sequence");
    const py::ssize_t size = static_cast<py::ssize_t>(count);
    py::array out = format == Format::bipolar ? py::array(py::array_t<std::int8_t>(size))
                                              : py::array(py::array_t<std::uint8_t>(size));
    const std::span<std::uint8_t> bytes(static_cast<std::uint8_t*>(out.mutable_data()), count);
    const auto fill = [&](const RunOptions& options) {
        if (format == Format::packed) {
            fill_packed(pieces, order, length, bytes, options);
        } else {
            fill_spread(pieces, format == Format::bits ? BITS_OF : BIPOLAR_OF, bytes, options);
        }
    };
    if (count <= INLINE_BYTES) {
        fill(RunOptions{});
    } else {
        run_interruptible(0, fill);
    }
    return out;
}

void bind_streams(py::module_& m) {
    m.def("sequence", &sequence_of, py::arg("source"), py::arg("length") = py::none(), py::arg("skip") = 0,
          py::arg("format") = "bits", py::arg("bit_order") = "msb",
          R"(The output of a source from chip skip on, as a numpy array.

source: a tapwell.Register, a tapwell.Preset (its registers summed, inverted
where its standard says so) or a list of Registers (their outputs summed,
as a Gold code). Chip 0 is the first bit the registers put out as given;
skip (to 2^64 - 1) is reached by a jump, not by stepping there.
length: bits; by default one period, or the code's length where the
preset's standard cuts the period short (BeiDou's 2046 chips), refused in
words when the period is beyond 2^36 bits.
format: 'bits' gives uint8 0/1, a bit an element; 'packed' uint8 bytes,
ceil(length / 8) of them, the first bit of each byte in its msb or its lsb
as bit_order says, the last byte's unused bits 0 (tapwell-cli sequence
--format packed); 'bipolar' int8, +1 for 0 and -1 for 1. MemoryError
before allocating what the machine cannot hold; Ctrl-C interrupts it.)");
}

}  // namespace tapwell::python

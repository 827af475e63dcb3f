// Ring: tests. Streams against register_bits, the plain bit-by-bit output:
// every degree and form, chips skipped, both bit orders, Gold sums, the text
// formats and a last partial byte.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tapwell/errors.hpp"
#include "tapwell/registers.hpp"
#include "tapwell/streams.hpp"

namespace tapwell {
namespace {

std::vector<std::uint8_t> packed_by_hand(const std::vector<std::uint8_t>& bits, BitOrder order) {
    std::vector<std::uint8_t> out((bits.size() + 7) / 8, 0);
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const unsigned at = order == BitOrder::lsb_first ? i % 8 : 7 - i % 8;
        out[i / 8] = static_cast<std::uint8_t>(out[i / 8] | bits[i] << at);
    }
    return out;
}

std::string written(const StreamRequest& request) {
    std::string text;
    write_stream(request, [&](std::span<const std::uint8_t> piece) { text.append(piece.begin(), piece.end()); });
    EXPECT_EQ(text.size(), stream_size(request));
    return text;
}

TEST(Streams, PackedIsTheRegistersOutput) {
    std::mt19937_64 rng(21);
    for (int n = 1; n <= 64; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (RegisterForm form : {RegisterForm::fibonacci, RegisterForm::galois}) {
            const Register reg{Polynomial::from_value(top | (rng() & (top - 1))),
                               std::max<std::uint64_t>(1, rng() & (top | (top - 1))), form};
            const std::uint64_t skip = rng() % 300;
            const std::vector<std::uint8_t> bits = register_bits(reg, skip + 1000);
            const std::vector<std::uint8_t> tail(bits.begin() + static_cast<long>(skip), bits.end());
            for (BitOrder order : {BitOrder::msb_first, BitOrder::lsb_first}) {
                std::vector<std::uint8_t> out(125);
                packed_bits({{reg}}, skip, order, out);
                EXPECT_EQ(out, packed_by_hand(tail, order)) << "degree " << n << " form " << int(form);
            }
        }
    }
}

// Registers of few terms go by their recurrence instead of the tables: a
// trinomial and a pentanomial at every degree, long enough to leave the
// history the recurrence starts from and to cross a piece.
TEST(Streams, FewTermRegistersAreTheRegistersOutputToo) {
    std::mt19937_64 rng(8);
    for (int n = 2; n <= 64; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (int terms : {1, 3}) {
            std::uint64_t low = 0;
            for (int k = 0; k < terms && n > 2; ++k) low |= std::uint64_t{1} << (rng() % (n - 1));
            const Register reg{Polynomial::from_value(top | low), std::max<std::uint64_t>(1, rng() & (top | (top - 1))),
                               n % 2 ? RegisterForm::galois : RegisterForm::fibonacci};
            const std::uint64_t skip = rng() % 1000;
            const std::size_t bytes = n == 31 || n == 64 ? 300'000 : 1000;
            const std::vector<std::uint8_t> bits = register_bits(reg, skip + 8 * bytes);
            const std::vector<std::uint8_t> tail(bits.begin() + static_cast<long>(skip), bits.end());
            for (bool inverted : {false, true}) {
                for (BitOrder order : {BitOrder::msb_first, BitOrder::lsb_first}) {
                    std::vector<std::uint8_t> out(bytes);
                    packed_bits({{reg}, inverted}, skip, order, out);
                    std::vector<std::uint8_t> expected = packed_by_hand(tail, order);
                    if (inverted) {
                        for (std::uint8_t& b : expected) b = static_cast<std::uint8_t>(~b);
                    }
                    ASSERT_EQ(out, expected) << "degree " << n << " terms " << terms << " inverted " << inverted;
                }
            }
        }
    }
}

// Long streams against an output that never goes through the stream
// writer: each block of 4000 chips stepped bit by bit from the register
// jumped to it. Few-term registers (the recurrence) and many-term ones (the
// tables, their chains side by side), alone and summed, both orders,
// inverted or not; lengths that end inside a chain's turn and cross pieces.
TEST(Streams, LongStreamsAreTheSteppedRegisters) {
    struct Case {
        std::vector<const char*> polys;
        RegisterForm form;
        bool inverted;
    };
    const char* dense64 = "x^64 + x^62 + x^60 + x^58 + x^9 + x^7 + x^3 + x + 1";
    const char* dense31 = "x^31 + x^29 + x^27 + x^25 + x^23 + x^21 + x^20 + x^14 + x^12 + x^10 + x^4 + x^2 + 1";
    const Case cases[] = {
        {{"x^31 + x^28 + 1"}, RegisterForm::fibonacci, false},
        {{"x^7 + x^6 + 1"}, RegisterForm::galois, true},
        {{"x^58 + x^39 + 1"}, RegisterForm::fibonacci, true},
        {{"x^64 + x^4 + x^3 + x + 1"}, RegisterForm::galois, false},
        {{dense64}, RegisterForm::fibonacci, false},
        {{dense31}, RegisterForm::galois, true},
        {{dense64, dense31}, RegisterForm::fibonacci, true},
        {{"x^31 + x^28 + 1", dense64}, RegisterForm::galois, false},
    };
    constexpr std::size_t BLOCK = 4000, BLOCKS = 1100;  // 4.4 million chips
    constexpr std::uint64_t SKIP = 12345;
    for (const Case& c : cases) {
        BitSource source{{}, c.inverted};
        for (const char* poly : c.polys) source.registers.push_back({Polynomial::parse(poly, Notation::algebraic), 0x5D, c.form});
        std::vector<std::uint8_t> bits(BLOCK * BLOCKS, c.inverted ? 1 : 0);
        for (const Register& reg : source.registers) {
            for (std::size_t b = 0; b < BLOCKS; ++b) {
                const std::vector<std::uint8_t> block = register_bits(jumped(reg, SKIP + b * BLOCK), BLOCK);
                for (std::size_t i = 0; i < BLOCK; ++i) bits[b * BLOCK + i] ^= block[i];
            }
        }
        for (BitOrder order : {BitOrder::msb_first, BitOrder::lsb_first}) {
            std::vector<std::uint8_t> out(bits.size() / 8 - 3);  // ends inside a word
            packed_bits(source, SKIP, order, out);
            std::vector<std::uint8_t> expected = packed_by_hand(bits, order);
            expected.resize(out.size());
            ASSERT_EQ(out, expected) << c.polys[0] << " and " << c.polys.size() - 1 << " more";
        }
    }
}

TEST(Streams, GoldSumsInvertsAndCrossesPieces) {
    const Register a{Polynomial::parse("x^10 + x^3 + 1", Notation::algebraic), 1023};
    const Register b{Polynomial::parse("x^10 + x^9 + x^8 + x^6 + x^3 + x^2 + 1", Notation::algebraic), 77,
                     RegisterForm::galois};
    const std::size_t n = 300'000;  // more than one piece
    const std::vector<std::uint8_t> x = register_bits(a, n), y = register_bits(b, n);
    std::vector<std::uint8_t> sum(n);
    for (std::size_t i = 0; i < n; ++i) sum[i] = static_cast<std::uint8_t>(x[i] ^ y[i] ^ 1u);
    StreamRequest request{{{a, b}, true}, 0, n - 3, StreamFormat::packed, BitOrder::lsb_first};
    const std::string text = written(request);
    const std::vector<std::uint8_t> expected = packed_by_hand({sum.begin(), sum.end() - 3}, BitOrder::lsb_first);
    EXPECT_EQ(std::vector<std::uint8_t>(text.begin(), text.end()), expected);
}

TEST(Streams, TextFormats) {
    const Register reg{Polynomial::parse("10011"), 1};  // 100010011010111 ...
    struct Case {
        StreamFormat format;
        BitOrder order;
        std::uint64_t skip, length;
        const char* text;
    };
    const Case cases[] = {
        {StreamFormat::bits, BitOrder::msb_first, 0, 15, "100010011010111\n"},
        {StreamFormat::bits, BitOrder::msb_first, 3, 4, "0100\n"},
        {StreamFormat::bipolar, BitOrder::msb_first, 0, 5, "-1 +1 +1 +1 -1\n"},
        {StreamFormat::hex, BitOrder::msb_first, 0, 16, "89af\n"},
        {StreamFormat::hex, BitOrder::lsb_first, 0, 16, "91f5\n"},
        {StreamFormat::hex, BitOrder::msb_first, 0, 12, "89a0\n"},
        {StreamFormat::bits, BitOrder::msb_first, 0, 0, "\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(written({{{reg}}, c.skip, c.length, c.format, c.order}), c.text) << c.text;
    }
}

TEST(Streams, RefusalsAndStops) {
    const Register reg{Polynomial::parse("10011"), 1};
    EXPECT_THROW(stream_size({{{reg}}, 0, UINT64_MAX, StreamFormat::bipolar}), InvalidArgument);
    EXPECT_THROW(written({{}, 0, 8}), InvalidArgument);
    std::stop_source stop;
    stop.request_stop();
    RunOptions options;
    options.stop = stop.get_token();
    EXPECT_THROW(write_stream({{{reg}}, 0, 64}, [](auto) {}, options), Stopped);
    EXPECT_EQ(source_period({{reg, {Polynomial::parse("111"), 1}}}), 15u);
    EXPECT_EQ(one_period_length({{reg, {Polynomial::parse("111"), 1}}}), 15u);
    const Register wide{Polynomial::parse("x^37 + x^5 + x^4 + x^3 + x^2 + x + 1", Notation::algebraic), 1};
    EXPECT_THROW(one_period_length({{wide}}), InvalidArgument);
}

}  // namespace
}  // namespace tapwell

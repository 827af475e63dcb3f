// Ring: tests. Scrambling: descrambling gives the data back byte for byte in
// both kinds and bit orders, whatever the pieces; the additive kind is the
// data plus the stream; a self-synchronous descrambler started anywhere
// gives the data back from the n-th bit on.
#include <gtest/gtest.h>

#include <random>

#include "tapwell/errors.hpp"
#include "tapwell/presets.hpp"
#include "tapwell/scrambling.hpp"

namespace tapwell {
namespace {

std::vector<std::uint8_t> random_bytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> out(n);
    for (std::uint8_t& b : out) b = static_cast<std::uint8_t>(rng());
    return out;
}

// Through the scrambler in pieces of the given sizes, in turn.
std::vector<std::uint8_t> through(const ScrambleRequest& request, std::vector<std::uint8_t> data,
                                  std::initializer_list<std::size_t> pieces) {
    Scrambler s(request);
    std::size_t at = 0;
    for (auto size = pieces.begin(); at < data.size(); ++size) {
        if (size == pieces.end()) size = pieces.begin();
        const std::size_t n = std::min(*size, data.size() - at);
        s.process(std::span<std::uint8_t>(data.data() + at, n));
        at += n;
    }
    return data;
}

TEST(Scrambling, DescramblingGivesTheDataBack) {
    const Register r58{Polynomial::parse("x^58 + x^19 + 1", Notation::algebraic), 0x123456789ABCDEF};
    const Register r7{Polynomial::parse("x^7 + x^3 + 1", Notation::algebraic), 0x55};
    const Register r64{Polynomial::parse("x^64 + x^4 + x^3 + x + 1", Notation::algebraic), 99};
    const std::vector<std::uint8_t> data = random_bytes(70'000, 4);
    for (const Register& reg : {r58, r7, r64}) {
        for (ScrambleKind kind : {ScrambleKind::additive, ScrambleKind::multiplicative}) {
            for (BitOrder order : {BitOrder::msb_first, BitOrder::lsb_first}) {
                const ScrambleRequest on{{{reg}}, kind, false, order}, off{{{reg}}, kind, true, order};
                const std::vector<std::uint8_t> scrambled = through(on, data, {70'000});
                EXPECT_NE(scrambled, data);
                EXPECT_EQ(through(on, data, {1, 7, 4096, 3}), scrambled) << "pieces change nothing";
                EXPECT_EQ(through(off, scrambled, {13, 100'000}), data)
                    << "degree " << reg.polynomial.degree() << " kind " << int(kind) << " order " << int(order);
            }
        }
    }
}

TEST(Scrambling, AdditiveIsTheDataPlusTheStream) {
    const Preset& pcie = preset("pcie-scrambler");
    const std::vector<std::uint8_t> zeros(64, 0);
    std::vector<std::uint8_t> stream(64);
    packed_bits({pcie.registers, pcie.inverted}, 0, BitOrder::lsb_first, stream);
    EXPECT_EQ(through({{pcie.registers}, ScrambleKind::additive, false, BitOrder::lsb_first}, zeros, {5}), stream);
    // PCIe's first scrambled bytes after COM: the register's all-ones start, then 17h.
    EXPECT_EQ(stream[0], 0xFF);
    EXPECT_EQ(stream[1], 0x17);
}

TEST(Scrambling, SelfSynchronousDescramblerLocksAfterNBits) {
    const std::vector<std::uint8_t> data = random_bytes(4000, 9);
    std::mt19937_64 rng(2);
    for (const char* poly : {"x^58 + x^19 + 1", "x^7 + x^3 + 1", "x^23 + x^5 + 1", "x^64 + x^4 + x^3 + x + 1"}) {
        const Polynomial p = Polynomial::parse(poly, Notation::algebraic);
        const int n = p.degree();
        const std::uint64_t mask = n == 64 ? ~0ull : (1ull << n) - 1;
        const std::vector<std::uint8_t> scrambled =
            through({{{{p, std::max<std::uint64_t>(1, rng() & mask)}}}, ScrambleKind::multiplicative}, data, {4000});
        for (int trial = 0; trial < 4; ++trial) {
            const std::vector<std::uint8_t> back = through(
                {{{{p, std::max<std::uint64_t>(1, rng() & mask)}}}, ScrambleKind::multiplicative, true}, scrambled, {4000});
            // Bits from the n-th on (msb first) are the data's.
            for (std::size_t bit = static_cast<std::size_t>(n); bit < 8 * data.size(); ++bit) {
                const int shift = 7 - static_cast<int>(bit % 8);
                ASSERT_EQ(back[bit / 8] >> shift & 1, data[bit / 8] >> shift & 1) << poly << " bit " << bit;
            }
        }
    }
}

// The self-synchronous scrambler a bit at a time, as the header describes
// it: the register holds the last n bits over the line, bit n - 1 the latest.
std::vector<std::uint8_t> self_synchronous_by_bits(const Register& reg, bool descramble, BitOrder order,
                                                   std::vector<std::uint8_t> data) {
    const int n = reg.polynomial.degree();
    // value() holds x^1 .. x^n in bits 0 .. n - 1; the constant term is 1.
    const std::uint64_t top = 1ull << (n - 1), taps = (reg.polynomial.value() ^ top) << 1 | 1u;
    std::uint64_t held = reg.state;
    for (std::uint8_t& byte : data) {
        std::uint8_t out = 0;
        for (int i = 0; i < 8; ++i) {
            const int at = order == BitOrder::msb_first ? 7 - i : i;
            const std::uint64_t in = byte >> at & 1u;
            const std::uint64_t bit = in ^ static_cast<std::uint64_t>(__builtin_popcountll(held & taps) & 1);
            held = held >> 1 | (descramble ? in : bit) << (n - 1);
            out = static_cast<std::uint8_t>(out | bit << at);
        }
        byte = out;
    }
    return data;
}

// Shortest lags of 1 (every bit depends on the one before), 19, 39 and 60,
// in pieces that cross the scrambler's own and end inside a word.
TEST(Scrambling, SelfSynchronousIsTheBitByBitRegister) {
    const std::vector<std::uint8_t> data = random_bytes(80'003, 5);
    for (const char* poly : {"x^7 + x^6 + 1", "x^58 + x^39 + 1", "x^58 + x^19 + 1", "x^64 + x^4 + x^3 + x + 1"}) {
        const Register reg{Polynomial::parse(poly, Notation::algebraic), 0x2F};
        for (bool descramble : {false, true}) {
            for (BitOrder order : {BitOrder::msb_first, BitOrder::lsb_first}) {
                const ScrambleRequest request{{{reg}}, ScrambleKind::multiplicative, descramble, order};
                ASSERT_EQ(through(request, data, {5, 40'000, 9, 33'000}),
                          self_synchronous_by_bits(reg, descramble, order, data))
                    << poly << " descramble " << descramble << " order " << int(order);
            }
        }
    }
}

TEST(Scrambling, RefusesWhatCannotScramble) {
    const Register reg{Polynomial::parse("10011"), 1};
    EXPECT_THROW(Scrambler({{}, ScrambleKind::additive}), InvalidArgument);
    EXPECT_THROW(Scrambler({{{reg, reg}}, ScrambleKind::multiplicative}), InvalidArgument);
    EXPECT_THROW(Scrambler({{{{reg.polynomial, 1, RegisterForm::galois}}}, ScrambleKind::multiplicative}),
                 InvalidArgument);
}

}  // namespace
}  // namespace tapwell

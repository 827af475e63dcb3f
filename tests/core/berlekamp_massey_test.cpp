// Ring: tests. Berlekamp-Massey against a bit-by-bit textbook version, on
// every register of degrees 3 to 12 from 2L bits, on Gold sequences (their
// polynomial is the product of the pair's), and the bit-text reader.
#include <gtest/gtest.h>

#include <random>

#include "core/berlekamp_massey.h"
#include "core/bit_text.h"
#include "core/gf2_poly.h"
#include "core/poly_order.h"
#include "core/shift_register.h"

namespace tapwell {
namespace {

// The textbook algorithm, one bit at a time.
std::vector<int> textbook(const std::vector<int>& s, std::size_t& length) {
    const std::size_t n = s.size();
    std::vector<int> c(n + 1, 0), b(n + 1, 0);
    c[0] = b[0] = 1;
    std::size_t l = 0, m = 1;
    for (std::size_t i = 0; i < n; ++i) {
        int d = s[i];
        for (std::size_t j = 1; j <= l; ++j) d ^= c[j] & s[i - j];
        if (d == 0) {
            ++m;
            continue;
        }
        const std::vector<int> t = c;
        for (std::size_t j = 0; j + m <= n; ++j) c[j + m] ^= b[j];
        if (2 * l <= i) {
            l = i + 1 - l;
            b = t;
            m = 1;
        } else {
            ++m;
        }
    }
    length = l;
    c.resize(l + 1);
    return c;
}

BitSequence output(PolyWord p, std::uint64_t state, std::size_t count) {
    const std::uint64_t top = top_of(p), taps = taps_of64(p.value, top);
    BitSequence bits;
    for (std::size_t i = 0; i < count; ++i) {
        bits.push(state & 1u);
        state = register_step64(state, taps, top);
    }
    return bits;
}

TEST(BerlekampMassey, AgreesWithTheTextbookOnRandomInput) {
    std::mt19937_64 rng(9);
    BerlekampMassey bm;
    for (std::size_t count : {0u, 1u, 2u, 63u, 64u, 65u, 127u, 128u, 129u, 300u, 1000u}) {
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<int> s(count);
            BitSequence bits;
            const int density = trial % 4;  // sparse inputs give long zero runs
            for (std::size_t i = 0; i < count; ++i) {
                s[i] = (rng() % 8) < static_cast<unsigned>(density == 0 ? 1 : 4);
                bits.push(s[i]);
            }
            std::size_t length = 0;
            const std::vector<int> want = textbook(s, length);
            const LinearRecurrence& got = bm.run(bits.words.data(), bits.count);
            ASSERT_EQ(got.length, length) << count;
            for (std::size_t j = 0; j <= length; ++j) ASSERT_EQ(got.has(j), want[j] != 0) << count << " " << j;
        }
    }
}

TEST(BerlekampMassey, RecoversEveryRegisterOfDegrees3To12From2LBits) {
    BerlekampMassey bm;
    for (int n = 3; n <= 12; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (std::uint64_t v = top; v < 2 * top; ++v) {
            // From state 1 the sequence's minimal polynomial is the register's own.
            const BitSequence bits = output({v, n}, 1, 2 * static_cast<std::size_t>(n));
            const LinearRecurrence& r = bm.run(bits.words.data(), bits.count);
            ASSERT_EQ(characteristic_polynomial(r), (PolyWord{v, n})) << n << " " << v;
        }
    }
}

TEST(BerlekampMassey, GoldSequenceHasTheProductPolynomial) {
    // The GPS pair of degree 10 and a preferred pair of degree 5, in the window's notation.
    const std::pair<PolyWord, PolyWord> pairs[] = {
        {{0b1001000000, 10}, {0b1011001011, 10}},
        {{0b10010, 5}, {0b11110, 5}},
    };
    for (const auto& [a, b] : pairs) {
        const std::size_t count = 4 * static_cast<std::size_t>(a.degree + b.degree);
        const BitSequence sa = output(a, 0b101, count), sb = output(b, 0b11, count);
        BitSequence gold;
        for (std::size_t i = 0; i < count; ++i) gold.push(sa.at(i) != sb.at(i));
        const LinearRecurrence r = linear_recurrence(gold);
        EXPECT_EQ(characteristic_polynomial(r), gf2::product(a, b));
    }
}

TEST(BerlekampMassey, CharacteristicPolynomialOfLongAndNonPeriodicInput) {
    // 0001...: x divides the minimal polynomial, no register of the window runs it.
    BitSequence late;
    for (int i = 0; i < 20; ++i) late.push(i == 3);
    const LinearRecurrence r = linear_recurrence(late);
    EXPECT_EQ(r.length, 4u);
    EXPECT_EQ(characteristic_polynomial(r).degree, 0);
    EXPECT_EQ(characteristic_word(r), std::vector<std::uint64_t>{0b10000});  // x^4
    // All zeros: length 0.
    BitSequence zeros;
    for (int i = 0; i < 100; ++i) zeros.push(false);
    EXPECT_EQ(linear_recurrence(zeros).length, 0u);
}

TEST(BitText, ReadsBitsAndRefusesTheRestWithItsPosition) {
    const BitReading ok = read_bit_text(" 10\t1\r\n 1 \n0");
    ASSERT_TRUE(ok.ok()) << ok.error;
    ASSERT_EQ(ok.bits.count, 5u);
    EXPECT_TRUE(ok.bits.at(0) && !ok.bits.at(1) && ok.bits.at(2) && ok.bits.at(3) && !ok.bits.at(4));
    const BitReading bad = read_bit_text("0101\n01x1");
    ASSERT_FALSE(bad.ok());
    EXPECT_NE(bad.error.find("'x' at position 8 (line 2, column 3)"), std::string::npos) << bad.error;
    EXPECT_NE(read_bit_text(std::string_view("1\0" "1", 3)).error.find("byte 0x00 at position 2"), std::string::npos);
    EXPECT_EQ(read_bit_text("").bits.count, 0u);
}

}  // namespace
}  // namespace tapwell

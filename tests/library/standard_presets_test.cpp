// Ring: tests. The standards' presets against the check values their
// standards print and, where they print none, against the register drawn
// as the standard draws it, written here bit by bit with nothing of the
// library's conversion: numbered stages shifted one place a clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tapwell/errors.hpp"
#include "tapwell/presets.hpp"

namespace tapwell {
namespace {

std::string text_of(const std::vector<std::uint8_t>& bits) {
    std::string s;
    for (std::uint8_t b : bits) s += static_cast<char>('0' + b);
    return s;
}

std::string first_bits(const Preset& p, std::size_t count) { return text_of(preset_bits(p, count)); }

// A drawing's stages 1..n (index 0 unused): feedback into stage 1.
struct Stages {
    std::vector<int> s;
    explicit Stages(const std::string& seed) : s(seed.size() + 1, 0) {
        for (std::size_t k = 0; k < seed.size(); ++k) s[k + 1] = seed[k] - '0';
    }
    int sum(std::initializer_list<int> taps) const {
        int x = 0;
        for (int k : taps) x ^= s[static_cast<std::size_t>(k)];
        return x;
    }
    void clock(int in) {
        for (std::size_t k = s.size() - 1; k > 1; --k) s[k] = s[k - 1];
        s[1] = in;
    }
};

TEST(StandardPresets, PrintedCheckValues) {
    struct Case {
        const char* name;
        const char* bits;  // as printed, spaces removed
    };
    const Case cases[] = {
        // IEEE 802.11, 17.3.5.5: the 127-bit sequence from the all-ones state.
        {"wifi-scrambler",
         "00001110111100101100100100000010001001100010111010110110000011001101010011100111101101000010101011111010010100"
         "01101110001111111"},
        // CCSDS 131.0-B, Pseudo-Randomizer: its first 40 bits.
        {"ccsds-tm-255", "1111111101001000000011101100000010011010"},
        // CCSDS 131.0-B-5 10.4.3 note 2: the first 40 bits of the 131071-bit
        // sequence. The seed read the other way round gives 1100 0111 ...
        {"ccsds-tm-131071", "0001110001110001101110010001101110101001"},
        // CCSDS 201.0-B-3 page 3-3 (the BTG of 231.0-B): its first 40 bits.
        {"ccsds-tc-btg", "1111111100111001100111100101101001101000"},
        // GLONASS ICD 3.3.2.2: the code begins with the group 111111100.
        {"glonass-st", "111111100"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(first_bits(preset(c.name), std::string(c.bits).size()), c.bits) << c.name;
    }
    // The 802.11 sequence repeats after 127 bits.
    const std::string two = first_bits(preset("wifi-scrambler"), 254);
    EXPECT_EQ(two.substr(0, 127), two.substr(127));
}

// Check values printed as bytes or with a seed of their own.
TEST(StandardPresets, PrintedCheckValuesOfOtherStarts) {
    // IEEE 802.11a-1999 Annex G, Table G.15: the 127 bits from the seed
    // 1011101 of the worked example (the same read either way round).
    EXPECT_EQ(first_bits(preset("wifi-scrambler", 0x5D), 127),
              "0110110000011001101010011100111101101000010101011111010010100011"
              "011100011111110000111011110010110010010000001000100110001011101");
    // PCI Express Base 2.1, Appendix C: 00h scrambled again and again after
    // reset, each byte put out from its bit 0.
    const std::uint8_t printed[64] = {
        0xFF, 0x17, 0xC0, 0x14, 0xB2, 0xE7, 0x02, 0x82, 0x72, 0x6E, 0x28, 0xA6, 0xBE, 0x6D, 0xBF, 0x8D,
        0xBE, 0x40, 0xA7, 0xE6, 0x2C, 0xD3, 0xE2, 0xB2, 0x07, 0x02, 0x77, 0x2A, 0xCD, 0x34, 0xBE, 0xE0,
        0xA7, 0x5D, 0x24, 0xB1, 0x9B, 0xA1, 0xBD, 0x22, 0xD4, 0x45, 0x1D, 0xD3, 0xD7, 0xEA, 0x76, 0xEE,
        0x2C, 0xDA, 0x1A, 0xFA, 0x28, 0x2D, 0x36, 0x3B, 0x3A, 0x0E, 0x6F, 0x67, 0xCF, 0x06, 0x4C, 0x26};
    const std::vector<std::uint8_t> bits = preset_bits(preset("pcie-scrambler"), 8 * 64);
    for (std::size_t i = 0; i < 64; ++i) {
        unsigned byte = 0;
        for (unsigned j = 0; j < 8; ++j) byte |= static_cast<unsigned>(bits[8 * i + j]) << j;
        EXPECT_EQ(byte, printed[i]) << "byte " << i;
    }
}

TEST(StandardPresets, FibonacciDrawingsClockedAsDrawn) {
    struct Case {
        const char* name;
        std::string seed;            // stages 1..n
        std::vector<int> feedback;
        int output;                  // 0: the feedback bit
    };
    const Case cases[] = {
        {"dvb-energy", "100101010000000", {14, 15}, 0},
        {"ccsds-tm-131071", "11000111000111000", {3, 17}, 17},
        {"glonass-st", std::string(9, '1'), {5, 9}, 7},
        {"wifi-scrambler", std::string(7, '1'), {4, 7}, 0},
    };
    for (const Case& c : cases) {
        Stages r(c.seed);
        std::string expected;
        for (int t = 0; t < 600; ++t) {
            int in = 0;
            for (int k : c.feedback) in ^= r.s[static_cast<std::size_t>(k)];
            expected += static_cast<char>('0' + (c.output == 0 ? in : r.s[static_cast<std::size_t>(c.output)]));
            r.clock(in);
        }
        EXPECT_EQ(first_bits(preset(c.name), 600), expected) << c.name;
    }
    // DVB's first scrambling byte from that seed is 00000011.
    EXPECT_EQ(first_bits(preset("dvb-energy"), 8), "00000011");
}

// BDS-SIS-ICD-B1I Table 4-2 and its figure: G1 stage 11 plus two stages of G2.
TEST(StandardPresets, BeidouCodesFromTheTwoRegisters) {
    const int phases[37][2] = {{1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 8}, {1, 9}, {1, 10}, {1, 11}, {2, 7}, {3, 4},
                               {3, 5}, {3, 6}, {3, 8}, {3, 9}, {3, 10}, {3, 11}, {4, 5}, {4, 6}, {4, 8}, {4, 9},
                               {4, 10}, {4, 11}, {5, 6}, {5, 8}, {5, 9}, {5, 10}, {5, 11}, {6, 8}, {6, 9}, {6, 10},
                               {6, 11}, {8, 9}, {8, 10}, {8, 11}, {9, 10}, {9, 11}, {10, 11}};
    for (int prn = 1; prn <= 37; ++prn) {
        Stages g1("01010101010"), g2("01010101010");
        std::string expected;
        for (int t = 0; t < 2046; ++t) {
            expected += static_cast<char>('0' + (g1.s[11] ^ g2.sum({phases[prn - 1][0], phases[prn - 1][1]})));
            const int in1 = g1.sum({1, 7, 8, 9, 10, 11}), in2 = g2.sum({1, 2, 3, 4, 5, 8, 9, 11});
            g1.clock(in1);
            g2.clock(in2);
        }
        const Preset& p = preset("beidou-b1i-" + std::to_string(prn));
        EXPECT_EQ(p.origin.code_length, 2046u);
        EXPECT_EQ(first_bits(p, 2046), expected) << "PRN " << prn;
    }
}

// TS 38.211 5.2.1 written out: x1, x2 as arrays, c(n) = x1(n + 1600) + x2(n + 1600).
TEST(StandardPresets, ThreeGppSequenceAsTheFormula) {
    for (std::uint64_t c_init : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{0x1234}, std::uint64_t{0x7FFFFFFF}}) {
        const int N = 1600 + 300;
        std::vector<int> x1(N + 31, 0), x2(N + 31, 0);
        x1[0] = 1;
        for (int i = 0; i < 31; ++i) x2[static_cast<std::size_t>(i)] = static_cast<int>(c_init >> i & 1u);
        for (int n = 0; n < N; ++n) {
            x1[n + 31] = x1[n + 3] ^ x1[n];
            x2[n + 31] = x2[n + 3] ^ x2[n + 2] ^ x2[n + 1] ^ x2[n];
        }
        std::string expected;
        for (int n = 0; n < 300; ++n) expected += static_cast<char>('0' + (x1[n + 1600] ^ x2[n + 1600]));
        EXPECT_EQ(first_bits(preset("3gpp-c", c_init), 300), expected) << c_init;
    }
}

// Galois drawings, stages 0..n-1 from the input, stage n-1 put out and fed
// to stage 0 and to the stages after each tap.
std::string galois_drawing(std::vector<int> stage, std::initializer_list<int> taps, int count) {
    std::string out;
    const std::size_t n = stage.size();
    for (int t = 0; t < count; ++t) {
        const int o = stage[n - 1];
        out += static_cast<char>('0' + o);
        for (std::size_t k = n - 1; k > 0; --k) stage[k] = stage[k - 1];
        stage[0] = o;
        for (int k : taps) stage[static_cast<std::size_t>(k)] ^= o;
    }
    return out;
}

TEST(StandardPresets, GaloisDrawingsClockedAsDrawn) {
    // PCIe: D0..D15 all ones, D15 out, XORed into D3, D4, D5.
    EXPECT_EQ(first_bits(preset("pcie-scrambler"), 500), galois_drawing(std::vector<int>(16, 1), {3, 4, 5}, 500));
    // Bluetooth LE: position 0 = 1, positions 1..6 the channel, msb first; out of 6, into 0 and 4.
    for (std::uint64_t channel : {0u, 1u, 23u, 37u, 39u}) {
        std::vector<int> stage(7, 0);
        stage[0] = 1;
        for (int k = 1; k <= 6; ++k) stage[static_cast<std::size_t>(k)] = static_cast<int>(channel >> (6 - k) & 1u);
        EXPECT_EQ(first_bits(preset("ble-whitening", channel), 300), galois_drawing(stage, {4}, 300)) << channel;
    }
    EXPECT_EQ(preset("ble-whitening").origin.parameter_value, 37u);
}

// IEEE 802.3 49.2.6: S(t) = D(t) + S(t - 39) + S(t - 58); with zeros sent, S
// from the state S0..S57 (S0 the latest).
TEST(StandardPresets, SelfSynchronousScramblerOnZeros) {
    for (std::uint64_t seed : {std::uint64_t{1}, std::uint64_t{0x2AAAAAAAAAAAAAA}, (std::uint64_t{1} << 58) - 1}) {
        std::vector<int> s;  // oldest first
        for (int k = 57; k >= 0; --k) s.push_back(static_cast<int>(seed >> k & 1u));
        std::string expected;
        for (int t = 0; t < 200; ++t) {
            const std::size_t now = s.size();
            const int bit = s[now - 39] ^ s[now - 58];
            s.push_back(bit);
            expected += static_cast<char>('0' + bit);
        }
        EXPECT_EQ(first_bits(preset("scrambler-64b66b", seed), 200), expected) << seed;
    }
}

TEST(StandardPresets, ParametersOutOfRangeAreRefused) {
    const struct {
        const char* name;
        std::uint64_t value;
    } refused[] = {{"wifi-scrambler", 0}, {"wifi-scrambler", 128}, {"ble-whitening", 40}, {"3gpp-c", 1u << 31},
                   {"scrambler-64b66b", 0}, {"ccsds-tm-255", 1}, {"no-such-preset", 1}};
    for (const auto& r : refused) EXPECT_THROW(preset(r.name, r.value), InvalidArgument) << r.name << " " << r.value;
    EXPECT_EQ(preset("3gpp-c", 0).registers.size(), 1u);
    EXPECT_EQ(preset("3gpp-c", 5).registers.size(), 2u);
}

}  // namespace
}  // namespace tapwell

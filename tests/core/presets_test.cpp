// Ring: tests. Each preset against its standard: the GPS C/A codes against
// the first 10 chips of every PRN as IS-GPS-200 tabulates them (octal, the
// first digit the first chip) and against the standard's two-tap coder; the
// PRBS patterns against the standard's register (which stages feed back),
// their period and the longest run of zeros the standard states.
#include <gtest/gtest.h>

#include "core/notation.h"
#include "core/poly_order.h"
#include "core/presets.h"
#include "core/shift_register.h"

namespace tapwell {
namespace {

// IS-GPS-200, Table 3-Ia: the first 10 chips of the C/A code of PRN 1..32.
constexpr int FIRST_CHIPS_OCTAL[32] = {
    01440, 01620, 01710, 01744, 01133, 01455, 01131, 01454, 01626, 01504, 01642, 01750, 01764, 01772, 01775, 01776,
    01156, 01467, 01633, 01715, 01746, 01763, 01063, 01706, 01743, 01761, 01770, 01774, 01127, 01453, 01625, 01712,
};

// A register as the standards draw it: stage 1 takes the feedback, the last
// stage is the output; stages[k] holds stage k + 1.
struct StandardRegister {
    std::vector<int> stage;
    std::vector<int> feedback;  // stage numbers, 1-based

    StandardRegister(int n, std::vector<int> taps) : stage(static_cast<std::size_t>(n), 1), feedback(std::move(taps)) {}
    int at(int k) const { return stage[static_cast<std::size_t>(k - 1)]; }
    void clock() {
        int in = 0;
        for (int k : feedback) in ^= at(k);
        for (std::size_t k = stage.size() - 1; k > 0; --k) stage[k] = stage[k - 1];
        stage[0] = in;
    }
};

struct WindowRegister {
    std::uint64_t state, taps, top;
    WindowRegister(PolyWord p, std::uint64_t initial) : state(initial), taps(taps_of64(p.value, top_of(p))), top(top_of(p)) {}
    int out() const { return static_cast<int>(state & 1u); }
    void clock() { state = register_step64(state, taps, top); }
};

TEST(Presets, GpsCodesMatchTheTabulatedFirstChipsAndTheTwoTapCoder) {
    // G2's two-tap pairs, from the same table.
    constexpr int TAPS[32][2] = {{2, 6}, {3, 7}, {4, 8}, {5, 9}, {1, 9}, {2, 10}, {1, 8}, {2, 9}, {3, 10}, {2, 3}, {3, 4},
                                 {5, 6}, {6, 7}, {7, 8}, {8, 9}, {9, 10}, {1, 4}, {2, 5}, {3, 6}, {4, 7}, {5, 8}, {6, 9},
                                 {1, 3}, {4, 6}, {5, 7}, {6, 8}, {7, 9}, {8, 10}, {1, 6}, {2, 7}, {3, 8}, {4, 9}};
    for (int prn = 1; prn <= 32; ++prn) {
        const PresetRecord* p = preset_named("gps-ca-" + std::to_string(prn));
        ASSERT_NE(p, nullptr) << prn;
        ASSERT_EQ(p->mode, PresetMode::gold);
        EXPECT_FALSE(p->inverted);
        WindowRegister a(p->a, p->initial_a), b(p->b, p->initial_b);
        StandardRegister g1(10, {3, 10}), g2(10, {2, 3, 6, 8, 9, 10});
        int first = 0;
        for (int chip = 0; chip < 1023; ++chip) {
            const int window_chip = a.out() ^ b.out();
            const int coder_chip = g1.at(10) ^ g2.at(TAPS[prn - 1][0]) ^ g2.at(TAPS[prn - 1][1]);
            ASSERT_EQ(window_chip, coder_chip) << "PRN " << prn << " chip " << chip;
            if (chip < 10) first = first << 1 | window_chip;
            a.clock();
            b.clock();
            g1.clock();
            g2.clock();
        }
        EXPECT_EQ(first, FIRST_CHIPS_OCTAL[prn - 1]) << "PRN " << prn;
    }
    const PresetRecord* p1 = preset_named("gps-ca-1");
    EXPECT_EQ(write_notation(p1->a, Notation::algebraic), "x^10 + x^7 + 1");  // G1's output
    EXPECT_EQ(write_notation(reciprocal(p1->a), Notation::octal), "2011");     // G1 as IS-GPS-200 writes it
}

struct Prbs {
    const char* name;
    int n;
    int tap;
    bool inverted;
    int longest_zeros;
};

// ITU-T O.150 (and the common PRBS7): stages, feedback, inverted signal,
// the longest run of zeros of the signal as sent.
constexpr Prbs O150[] = {
    {"prbs7", 7, 6, false, 6},     {"prbs9", 9, 5, false, 8},     {"prbs11", 11, 9, false, 10},
    {"prbs15", 15, 14, true, 15},  {"prbs20", 20, 17, false, 19}, {"prbs23", 23, 18, true, 23},
    {"prbs29", 29, 27, true, 29},  {"prbs31", 31, 28, true, 31},
};

TEST(Presets, PrbsPatternsFollowTheStandardsRegisters) {
    for (const Prbs& s : O150) {
        const PresetRecord* p = preset_named(s.name);
        ASSERT_NE(p, nullptr) << s.name;
        EXPECT_EQ(p->mode, PresetMode::serial);
        EXPECT_EQ(p->inverted, s.inverted) << s.name;
        EXPECT_EQ(p->longest_zero_run, s.longest_zeros) << s.name;
        // The recurrence: the window's register and the standard's give the same bits.
        WindowRegister w(p->a, p->initial_a);
        StandardRegister r(s.n, {s.tap, s.n});
        for (int i = 0; i < 5000; ++i) {
            ASSERT_EQ(w.out(), r.at(s.n)) << s.name << " bit " << i;
            w.clock();
            r.clock();
        }
        // The period: 2^n - 1.
        EXPECT_EQ(polynomial_facts(p->a).order, mersenne(s.n)) << s.name;
        // The longest run of zeros of the signal as sent, over a whole period
        // (up to degree 23; above, an M-sequence's runs follow from its period).
        if (s.n > 23) continue;
        WindowRegister v(p->a, p->initial_a);
        int run = 0, longest = 0;
        for (std::uint64_t i = 0; i < 2 * mersenne(s.n); ++i) {
            const int bit = v.out() ^ (s.inverted ? 1 : 0);
            run = bit == 0 ? run + 1 : 0;
            if (run > longest) longest = run;
            v.clock();
        }
        EXPECT_EQ(longest, s.longest_zeros) << s.name;
    }
}

TEST(Presets, ListTextIsTheWindowsList) {
    EXPECT_EQ(preset_list_text(*preset_named("prbs9"), "\n"), "1000010001\n111111111");
    EXPECT_EQ(preset_list_text(*preset_named("gps-ca-1"), "\r\n").substr(0, 25), "10010000001\r\n1111111111\r\n");
    EXPECT_EQ(preset_named("nothing"), nullptr);
    // PRBS and GPS, then the 10 registers of other standards and 37 BeiDou codes.
    EXPECT_EQ(preset_records().size(), 40u + 10u + 37u);
}

}  // namespace
}  // namespace tapwell

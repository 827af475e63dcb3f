// Ring: core. See standard_presets.h. A Fibonacci drawing numbers its stages
// 1..n from the input, so stage k holds the bit of k clocks ago; a Galois
// drawing numbers them 0..n-1 from the input and puts out stage n - 1. The
// drawing is clocked as drawn for the bits it puts out, and the Fibonacci
// state is those bits (core/register_forms.h); a Galois record keeps the
// standard's stages, reversed to put stage n - 1 in bit 0.
#include "core/standard_presets.h"

#include <array>

#include "core/mersenne.h"
#include "core/register_forms.h"
#include "core/shift_register.h"

namespace tapwell {

namespace {

struct Drawing {
    int n = 0;  // 0: no second register
    // Fibonacci: bit k set for stage k feeding back into stage 1. Galois:
    // bit k set for the term x^k (k < n) of the polynomial the standard writes.
    std::uint64_t feedback = 0;
    // Fibonacci: the stages whose sum is put out; 0 for the feedback bit
    // itself. Galois: 0 (stage n - 1).
    std::uint64_t output = 0;
    std::uint64_t seed = 0;  // bit k: stage k at the start
};

constexpr std::uint64_t stages(std::initializer_list<int> list) {
    std::uint64_t bits = 0;
    for (int k : list) bits |= std::uint64_t{1} << k;
    return bits;
}

// How a parameter's value is loaded into the stages of register a (or b).
enum class Load {
    none,
    stage_bits,     // bit k - 1 of the value into stage k (Fibonacci) or stage k - 1 (Galois)
    sequence_bits,  // bit i is the register's i-th output x(i) (3GPP's x2 and c_init)
    channel,        // Bluetooth LE: stage 0 is 1, stages 1..6 the channel index, its msb in stage 1
};

struct Row {
    const char* name;
    const char* standard;
    const char* section;
    const char* written;
    const char* source;
    PresetKind kind;
    RegisterForm form;
    Drawing a, b;
    int skip;                // chips the standard discards before the first
    std::uint64_t code_length;
    const char* parameter;   // "" for none
    std::uint64_t low, high, fallback;
    Load load;
    bool load_into_b;
};

constexpr Drawing BEIDOU_G1{11, stages({1, 7, 8, 9, 10, 11}), stages({11}), stages({2, 4, 6, 8, 10})};

const Row ROWS[] = {
    {"wifi-scrambler", "IEEE 802.11-2020", "17.3.5.5 (PHY DATA scrambler and descrambler)", "S(x) = x^7 + x^4 + 1",
     "IEEE 802.11 OFDM data scrambler S(x) = x^7 + x^4 + 1: 127-bit frame-synchronous, 7-bit seed (--seed, all ones "
     "by default)",
     PresetKind::additive, RegisterForm::fibonacci, {7, stages({4, 7}), 0, 0}, {}, 0, 0, "seed", 1, 127, 127,
     Load::stage_bits, false},
    {"ccsds-tm-255", "CCSDS 131.0-B", "Pseudo-Randomizer (section 9 of issue 2, 10 of issue 4)",
     "h(x) = x^8 + x^7 + x^5 + x^3 + 1",
     "CCSDS TM pseudo-randomizer h(x) = x^8 + x^7 + x^5 + x^3 + 1: 255 bits from all ones, restarted at each "
     "attached sync marker",
     PresetKind::additive, RegisterForm::fibonacci, {8, stages({1, 3, 5, 8}), stages({8}), 0xFFu << 1}, {}, 0, 0, "",
     0, 0, 0, Load::none, false},
    // The seed is printed as the drawing's stages X16..X0 left to right, X0
    // put out first (Figure 10-2): our stages 1..17 in the printed order.
    {"ccsds-tm-131071", "CCSDS 131.0-B-5",
     "Pseudo-Randomizer 10.4.1 (generator), 10.4.3 (seed; first 40 bits in note 2)", "h(x) = x^17 + x^14 + 1",
     "CCSDS TM pseudo-randomizer h(x) = x^17 + x^14 + 1: 131071 bits from the seed 11000111000111000, restarted at "
     "each codeblock, codeword or transfer frame",
     PresetKind::additive, RegisterForm::fibonacci,
     {17, stages({3, 17}), stages({17}), stages({1, 2, 6, 7, 8, 12, 13, 14})}, {}, 0, 0, "", 0, 0, 0, Load::none,
     false},
    {"ccsds-tc-btg", "CCSDS 231.0-B (CCSDS 201.0-B-3)", "Randomizer, Bit Transition Generator (201.0-B-3 page 3-3)",
     "h(x) = x^8 + x^6 + x^4 + x^3 + x^2 + x + 1",
     "CCSDS telecommand bit transition generator h(x) = x^8 + x^6 + x^4 + x^3 + x^2 + x + 1: 255 bits from all ones, "
     "restarted at each CLTU",
     PresetKind::additive, RegisterForm::fibonacci, {8, stages({2, 4, 5, 6, 7, 8}), stages({8}), 0xFFu << 1}, {}, 0, 0,
     "", 0, 0, 0, Load::none, false},
    {"dvb-energy", "ETSI EN 300 421", "4.4.1 (randomization for energy dispersal)", "1 + X^14 + X^15",
     "DVB energy dispersal 1 + X^14 + X^15 from 100101010000000: reloaded every eight transport packets, at the "
     "inverted sync byte of the first; the sequence runs on under the other seven sync bytes without being applied",
     PresetKind::additive, RegisterForm::fibonacci, {15, stages({14, 15}), 0, stages({1, 4, 6, 8})}, {}, 0, 0, "", 0,
     0, 0, Load::none, false},
    {"3gpp-c", "3GPP TS 38.211 (TS 36.211)", "5.2.1 (36.211: 7.2) pseudo-random sequence c(n)",
     "x1(n+31) = (x1(n+3) + x1(n)) mod 2; x2(n+31) = (x2(n+3) + x2(n+2) + x2(n+1) + x2(n)) mod 2",
     "3GPP c(n) = x1(n + 1600) + x2(n + 1600): length-31 Gold sequence, x1(0) = 1, x2 from c_init (--c-init); "
     "c_init = 0 leaves x1 alone",
     PresetKind::sequence, RegisterForm::fibonacci, {31, stages({28, 31}), stages({31}), stages({31})},
     {31, stages({28, 29, 30, 31}), stages({31}), 0}, 1600, 0, "c-init", 0, mersenne(31), 0, Load::sequence_bits,
     true},
    {"glonass-st", "GLONASS ICD, edition 5.1", "3.3.2.2 (PR ranging code)", "G(X) = 1 + X^5 + X^9",
     "GLONASS open-service PR ranging code G(X) = 1 + X^5 + X^9: 511 chips from stage 7 of 9, all ones at the start",
     PresetKind::sequence, RegisterForm::fibonacci, {9, stages({5, 9}), stages({7}), mersenne(9) << 1}, {}, 0, 0, "",
     0, 0, 0, Load::none, false},
    {"pcie-scrambler", "PCI Express Base 2.0 (USB 3.0 Gen 1 alike)", "4.2.3 and Appendix C (data scrambling)",
     "G(X) = X^16 + X^5 + X^4 + X^3 + 1",
     "PCIe Gen1/Gen2 and USB 3 Gen1 scrambler G(X) = X^16 + X^5 + X^4 + X^3 + 1: Galois form, FFFFh at each COM, "
     "advanced 8 bits a symbol, the first bit to a byte's bit 0",
     PresetKind::additive, RegisterForm::galois, {16, stages({0, 3, 4, 5}), 0, 0xFFFF}, {}, 0, 0, "", 0, 0, 0,
     Load::none, false},
    {"scrambler-64b66b", "IEEE 802.3", "49.2.6 (64B/66B scrambler)", "G(x) = 1 + x^39 + x^58",
     "IEEE 802.3 clause 49 self-synchronous scrambler G(x) = 1 + x^39 + x^58 over the 64-bit payloads; any state "
     "(--seed: stages S0 .. S57, all ones by default)",
     PresetKind::multiplicative, RegisterForm::fibonacci, {58, stages({39, 58}), 0, 0}, {}, 0, 0, "seed", 1,
     mersenne(58), mersenne(58), Load::stage_bits, false},
    {"ble-whitening", "Bluetooth Core 5.3", "Vol 6 Part B 3.2 (data whitening)", "x^7 + x^4 + 1",
     "Bluetooth LE data whitening x^7 + x^4 + 1: Galois form, position 0 set to 1 and positions 1..6 to the channel "
     "index (--channel 0..39, 37 by default)",
     PresetKind::additive, RegisterForm::galois, {7, stages({0, 4}), 0, 0}, {}, 0, 0, "channel", 0, 39, 37,
     Load::channel, false},
};

// BDS-SIS-ICD-B1I, Table 4-2: the G2 stages whose sum PRN k adds to G1.
constexpr std::array<std::array<int, 2>, 37> BEIDOU_PHASES = {{
    {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 8}, {1, 9}, {1, 10}, {1, 11}, {2, 7}, {3, 4}, {3, 5}, {3, 6}, {3, 8},
    {3, 9}, {3, 10}, {3, 11}, {4, 5}, {4, 6}, {4, 8}, {4, 9}, {4, 10}, {4, 11}, {5, 6}, {5, 8}, {5, 9}, {5, 10},
    {5, 11}, {6, 8}, {6, 9}, {6, 10}, {6, 11}, {8, 9}, {8, 10}, {8, 11}, {9, 10}, {9, 11}, {10, 11},
}};

std::uint64_t reversed(std::uint64_t bits, int n) {
    std::uint64_t out = 0;
    for (int k = 0; k < n; ++k) out |= (bits >> k & 1u) << (n - 1 - k);
    return out;
}

// The window's polynomial of a drawing.
PolyWord polynomial_of(const Drawing& d, RegisterForm form) {
    if (form == RegisterForm::galois) return {(std::uint64_t{1} << (d.n - 1)) | (d.feedback >> 1), d.n};
    PolyWord p{std::uint64_t{1} << (d.n - 1), d.n};
    for (int k = 1; k < d.n; ++k) {
        if (d.feedback >> k & 1u) p.value |= std::uint64_t{1} << (d.n - k - 1);
    }
    return p;
}

// The Fibonacci drawing clocked as drawn: the n bits it puts out after
// `skip` clocks, bit 0 first. Stage k is bit k of `held`.
std::uint64_t drawn_output(const Drawing& d, int skip) {
    std::uint64_t held = d.seed, bits = 0;
    const std::uint64_t all = mersenne(d.n) << 1;
    for (int t = 0; t < skip + d.n; ++t) {
        const int in = __builtin_parityll(held & d.feedback);
        const int out = d.output == 0 ? in : __builtin_parityll(held & d.output);
        if (t >= skip) bits |= static_cast<std::uint64_t>(out) << (t - skip);
        held = ((held << 1) | (static_cast<std::uint64_t>(in) << 1)) & all;
    }
    return bits;
}

// The record's state of a drawing: Fibonacci, the bits it puts out (for a
// self-synchronous scrambler the bits it last sent, oldest in bit 0: stage n
// first); Galois, its stages reversed.
std::uint64_t state_of(const Drawing& d, RegisterForm form, PresetKind kind, int skip) {
    if (form == RegisterForm::galois) return reversed(d.seed, d.n);
    if (kind == PresetKind::multiplicative) return reversed(d.seed >> 1, d.n);
    return drawn_output(d, skip);
}

void load(Drawing& d, Load how, std::uint64_t value, RegisterForm form) {
    switch (how) {
        case Load::none: break;
        case Load::stage_bits: d.seed = form == RegisterForm::galois ? value : value << 1; break;
        case Load::sequence_bits: d.seed = reversed(value, d.n) << 1; break;  // x(i) sits in stage n - i
        case Load::channel: d.seed = 1u | reversed(value & 63u, 6) << 1; break;
    }
}

PresetRecord record_of(const Row& row, std::uint64_t value) {
    Drawing a = row.a, b = row.b;
    load(row.load_into_b ? b : a, row.load, value, row.form);
    PresetRecord r{row.name, PresetMode::serial, row.source, false, 0, polynomial_of(a, row.form),
                   state_of(a, row.form, row.kind, row.skip), {}, 0};
    if (b.n != 0 && b.seed != 0) {
        r.mode = PresetMode::gold;
        r.b = polynomial_of(b, row.form);
        r.initial_b = state_of(b, row.form, row.kind, row.skip);
    }
    r.origin = {row.standard, row.section, row.written, row.kind, row.code_length, row.parameter, row.low, row.high,
                value};
    r.form = row.form;
    return r;
}

PresetRecord beidou(int prn) {
    const auto& phase = BEIDOU_PHASES[static_cast<std::size_t>(prn - 1)];
    const Drawing g2{11, stages({1, 2, 3, 4, 5, 8, 9, 11}), stages({phase[0], phase[1]}), BEIDOU_G1.seed};
    PresetRecord r{"beidou-b1i-" + std::to_string(prn),
                   PresetMode::gold,
                   "BeiDou B1I ranging code " + std::to_string(prn) +
                       ": G1 = 1 + X + X^7 + X^8 + X^9 + X^10 + X^11 (register A) plus G2 = 1 + X + X^2 + X^3 + X^4 + "
                       "X^5 + X^8 + X^9 + X^11 stages " + std::to_string(phase[0]) + " and " +
                       std::to_string(phase[1]) + " (register B), both from 01010101010; 2046 chips, reset each code",
                   false,
                   0,
                   polynomial_of(BEIDOU_G1, RegisterForm::fibonacci),
                   drawn_output(BEIDOU_G1, 0),
                   polynomial_of(g2, RegisterForm::fibonacci),
                   drawn_output(g2, 0)};
    r.origin.standard = "BDS-SIS-ICD-B1I-3.0";
    r.origin.section = "4.3 (ranging code), Table 4-2 (phase assignment of G2)";
    r.origin.written =
        "G1(X) = 1 + X + X^7 + X^8 + X^9 + X^10 + X^11; G2(X) = 1 + X + X^2 + X^3 + X^4 + X^5 + X^8 + X^9 + X^11";
    r.origin.code_length = 2046;
    return r;
}

}  // namespace

std::vector<PresetRecord> standard_preset_records() {
    std::vector<PresetRecord> list;
    for (const Row& row : ROWS) {
        list.push_back(record_of(row, row.fallback));
        if (std::string_view(row.name) == "glonass-st") {
            for (int prn = 1; prn <= static_cast<int>(BEIDOU_PHASES.size()); ++prn) list.push_back(beidou(prn));
        }
    }
    return list;
}

std::string standard_preset_with(std::string_view name, std::uint64_t value, PresetRecord& out) {
    for (const Row& row : ROWS) {
        if (name != row.name) continue;
        if (row.parameter[0] == '\0') return "the preset " + std::string(name) + " takes no parameter";
        if (value < row.low || value > row.high) {
            return "--" + std::string(row.parameter) + " of " + std::string(name) + " must be " +
                   std::to_string(row.low) + " to " + std::to_string(row.high) + ", not " + std::to_string(value);
        }
        out = record_of(row, value);
        return {};
    }
    return "the preset " + std::string(name) + " takes no parameter";
}

}  // namespace tapwell

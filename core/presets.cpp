// Ring: core. See presets.h.
#include "core/presets.h"

#include <initializer_list>

#include "core/mersenne.h"
#include "core/notation.h"
#include "core/register_forms.h"
#include "core/shift_register.h"
#include "core/standard_presets.h"

namespace tapwell {

namespace {

// ITU-T O.150 describes each pattern as an n-stage register whose stage `tap`
// and last stage are added and fed back to the first stage; the patterns it
// marks "inverted signal" are sent inverted. The longest run of zeros is the
// one it states for the signal as sent.
struct PrbsRow {
    const char* name;
    int stages;
    int tap;
    bool inverted;
    int longest_zeros;
    const char* source;
};

constexpr PrbsRow PRBS[] = {
    {"prbs7", 7, 6, false, 6, "PRBS7 of serial-link test modes (2^7-1): 7 stages, stages 6 and 7 feed back"},
    {"prbs9", 9, 5, false, 8, "ITU-T O.150 2^9-1: 9 stages, stages 5 and 9 feed back; longest run 8 zeros"},
    {"prbs11", 11, 9, false, 10, "ITU-T O.150 2^11-1: 11 stages, stages 9 and 11 feed back; longest run 10 zeros"},
    {"prbs15", 15, 14, true, 15,
     "ITU-T O.150 2^15-1: 15 stages, stages 14 and 15 feed back; inverted signal, longest run 15 zeros"},
    {"prbs20", 20, 17, false, 19, "ITU-T O.150 2^20-1: 20 stages, stages 17 and 20 feed back; longest run 19 zeros"},
    {"prbs23", 23, 18, true, 23,
     "ITU-T O.150 2^23-1: 23 stages, stages 18 and 23 feed back; inverted signal, longest run 23 zeros"},
    {"prbs29", 29, 27, true, 29,
     "ITU-T O.150 2^29-1: 29 stages, stages 27 and 29 feed back; inverted signal, longest run 29 zeros"},
    {"prbs31", 31, 28, true, 31,
     "ITU-T O.150 2^31-1: 31 stages, stages 28 and 31 feed back; inverted signal, longest run 31 zeros"},
};

// IS-GPS-200: G1 = 1 + x^3 + x^10 and G2 = 1 + x^2 + x^3 + x^6 + x^8 + x^9 + x^10,
// both started from all ones; PRN k adds to G1 the G2 sequence delayed by
// `delay` chips, which the two-tap coder takes as the sum of G2 stages
// tap1 and tap2.
struct GpsRow {
    int prn;
    int tap1, tap2;
    int delay;
};

constexpr GpsRow GPS[] = {
    {1, 2, 6, 5},      {2, 3, 7, 6},      {3, 4, 8, 7},      {4, 5, 9, 8},      {5, 1, 9, 17},
    {6, 2, 10, 18},    {7, 1, 8, 139},    {8, 2, 9, 140},    {9, 3, 10, 141},   {10, 2, 3, 251},
    {11, 3, 4, 252},   {12, 5, 6, 254},   {13, 6, 7, 255},   {14, 7, 8, 256},   {15, 8, 9, 257},
    {16, 9, 10, 258},  {17, 1, 4, 469},   {18, 2, 5, 470},   {19, 3, 6, 471},   {20, 4, 7, 472},
    {21, 5, 8, 473},   {22, 6, 9, 474},   {23, 1, 3, 509},   {24, 4, 6, 512},   {25, 5, 7, 513},
    {26, 6, 8, 514},   {27, 7, 9, 515},   {28, 8, 10, 516},  {29, 1, 6, 859},   {30, 2, 7, 860},
    {31, 3, 8, 861},   {32, 4, 9, 862},
};

constexpr int GPS_STAGES = 10;
constexpr int GPS_PERIOD = 1023;


// The state of the window's register of p after `steps` clocks from `state`.
std::uint64_t advanced(PolyWord p, std::uint64_t state, int steps) {
    const std::uint64_t top = top_of(p);
    return register_steps64(state, taps_of64(p.value, top), top, steps);
}

std::vector<PresetRecord> build() {
    std::vector<PresetRecord> list;
    for (const PrbsRow& r : PRBS) {
        const PolyWord p = polynomial_of_stages(r.stages, {r.tap, r.stages});
        list.push_back({r.name, PresetMode::serial, r.source, r.inverted, r.longest_zeros, p, mersenne(r.stages), {}, 0});
    }
    const PolyWord g1 = polynomial_of_stages(GPS_STAGES, {3, 10});
    const PolyWord g2 = polynomial_of_stages(GPS_STAGES, {2, 3, 6, 8, 9, 10});
    for (const GpsRow& r : GPS) {
        // The window's register B starts where G2 is `delay` chips before its
        // all-ones start: the output is then G2 delayed by `delay`.
        const std::uint64_t initial_b = advanced(g2, mersenne(GPS_STAGES), GPS_PERIOD - r.delay);
        list.push_back({"gps-ca-" + std::to_string(r.prn), PresetMode::gold,
                        "IS-GPS-200 C/A code PRN " + std::to_string(r.prn) +
                            ": G1 = 1 + x^3 + x^10 (register A), G2 = 1 + x^2 + x^3 + x^6 + x^8 + x^9 + x^10 "
                            "delayed " + std::to_string(r.delay) + " chips (register B; G2 stages " +
                            std::to_string(r.tap1) + " and " + std::to_string(r.tap2) + " in the two-tap coder)",
                        false, 0, g1, mersenne(GPS_STAGES), g2, initial_b});
    }
    for (PresetRecord& r : standard_preset_records()) list.push_back(std::move(r));
    return list;
}

}  // namespace

PolyWord polynomial_of_stages(int n, std::initializer_list<int> stages) {
    // Stage k holds the input of k clocks ago, so its feedback is the term
    // x^(n-k) of the characteristic polynomial; the last stage is its constant.
    PolyWord p{std::uint64_t{1} << (n - 1), n};
    for (int k : stages) {
        if (k < n) p.value |= std::uint64_t{1} << (n - k - 1);
    }
    return p;
}

const std::vector<PresetRecord>& preset_records() {
    static const std::vector<PresetRecord> list = build();
    return list;
}

const PresetRecord* preset_named(std::string_view name) {
    for (const PresetRecord& p : preset_records()) {
        if (p.name == name) return &p;
    }
    return nullptr;
}

std::string initial_value_text(std::uint64_t state, int n) {
    std::string text(static_cast<std::size_t>(n), '0');
    for (int k = 0; k < n; ++k) {
        if (state >> k & 1u) text[static_cast<std::size_t>(n - 1 - k)] = '1';
    }
    return text;
}

namespace {

// The window's registers are Fibonacci ones: a Galois record goes in as the
// Fibonacci state that puts out the same bits.
std::uint64_t window_state(PolyWord p, std::uint64_t state, RegisterForm form) {
    const std::uint64_t taps = taps_of64(p.value, top_of(p));
    return state_putting_out(taps, p.degree, RegisterForm::fibonacci,
                             first_output_bits(taps, p.degree, form, state, p.degree));
}

}  // namespace

std::string preset_list_text(const PresetRecord& preset, std::string_view line_end) {
    std::string text = write_notation(preset.a, Notation::binary);
    text.append(line_end).append(initial_value_text(window_state(preset.a, preset.initial_a, preset.form), preset.a.degree));
    if (preset.mode == PresetMode::gold) {
        text.append(line_end).append(write_notation(preset.b, Notation::binary));
        text.append(line_end).append(
            initial_value_text(window_state(preset.b, preset.initial_b, preset.form), preset.b.degree));
    }
    return text;
}

}  // namespace tapwell

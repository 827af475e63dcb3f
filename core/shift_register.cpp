// Ring: core. See shift_register.h.
#include "core/shift_register.h"

#include "core/poly_text.h"

namespace tapwell {

namespace {

bool is_line_byte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x20 && b < 0x80;
}

bool is_separator_byte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x01 && b < 0x20;
}

}  // namespace

ListReader list_reader(std::string_view text) { return {text.data(), text.data() + text.size()}; }

std::string_view read_list_line(ListReader& reader) {
    const char* start = reader.at;
    while (reader.at != reader.end && is_line_byte(*reader.at)) ++reader.at;
    std::string_view line(start, static_cast<std::size_t>(reader.at - start));
    while (reader.at != reader.end && is_separator_byte(*reader.at)) ++reader.at;
    return line;
}

void parse_register_list(RegisterBank& bank, std::string_view text, int entries) {
    if (entries > REGISTER_COUNT) entries = REGISTER_COUNT;
    ListReader reader = list_reader(text);
    for (int k = 0; k < entries; ++k) {
        ShiftRegister& r = bank.registers[k];
        r.poly = parse_polynomial(read_list_line(reader));
        r.degree = bit_length(r.poly);
        if (r.degree >= 3) {
            r.top = 1u << (r.degree - 1);
            r.taps = taps_of(r.poly, r.top);
        } else {
            r.top = 0;  // taps keep their earlier value, unused while top is 0
        }
        const std::string_view initial = read_list_line(reader);
        if (initial.size() > static_cast<std::size_t>(r.degree)) {
            r.top = 0;  // state keeps its earlier value
        } else {
            r.state = parse_binary_value(initial);
        }
    }
}

namespace {

// A linear map on 32-bit words over GF(2), by the images of the unit vectors.
struct BitMatrix {
    std::uint32_t column[32];

    std::uint32_t apply(std::uint32_t w) const {
        std::uint32_t r = 0;
        for (; w != 0; w &= w - 1) r ^= column[std::countr_zero(w)];
        return r;
    }
    BitMatrix after(const BitMatrix& first) const {  // this map applied after `first`
        BitMatrix m;
        for (int i = 0; i < 32; ++i) m.column[i] = apply(first.column[i]);
        return m;
    }
};

}  // namespace

std::uint32_t transposed_jump(std::uint32_t w, std::uint32_t taps, std::uint32_t top, std::uint32_t mask, std::uint64_t k) {
    BitMatrix step;
    for (int i = 0; i < 32; ++i) step.column[i] = transposed_step(1u << i, taps, top, mask) & mask;
    for (; k != 0; k >>= 1) {
        if (k & 1u) w = step.apply(w);
        step = step.after(step);
    }
    return w;
}

void register_advance(RegisterBank& bank, int k) {
    ShiftRegister& r = bank.registers[k];
    r.state = register_steps(r.state, r.taps, r.top, bank.output_width);
}

void bank_step(RegisterBank& bank, int count) {
    if (count > REGISTER_COUNT) count = REGISTER_COUNT;
    for (int i = 0; i < count; ++i) register_step(bank.registers[i]);
}

}  // namespace tapwell

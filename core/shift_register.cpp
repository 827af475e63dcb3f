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

void register_advance(RegisterBank& bank, int k) {
    ShiftRegister& r = bank.registers[k];
    std::uint32_t s = r.state;
    for (std::int32_t i = 0; i < bank.output_width; ++i) s = register_step(s, r.taps, r.top);
    r.state = s;
}

void bank_step(RegisterBank& bank, int count) {
    if (count > REGISTER_COUNT) count = REGISTER_COUNT;
    for (int i = 0; i < count; ++i) register_step(bank.registers[i]);
}

}  // namespace tapwell

// Ring: tests. libFuzzer target: any bytes as the polynomial list. The parse
// must not read past the text, and every usable register it leaves must obey
// the bank's invariants, also after stepping.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/poly_text.h"
#include "core/shift_register.h"

using namespace tapwell;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

void check_bank(const RegisterBank& bank) {
    for (const ShiftRegister& r : bank.registers) {
        if (r.top == 0) continue;
        check(r.degree >= 3 && r.degree <= 32);
        check(r.top == 1u << (r.degree - 1));
        check(bit_length(r.poly) == r.degree);
        check((r.taps & 1u) == 1u && (r.taps >> 1) < r.top);
        check(r.state <= (r.top | (r.top - 1)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RegisterBank bank;
    parse_register_list(bank, text, REGISTER_COUNT);
    check_bank(bank);

    // A zero-terminated copy reads the same as the text up to its first zero.
    const std::string copy(text);
    RegisterBank again;
    parse_register_list(again, copy.c_str(), REGISTER_COUNT);
    for (int k = 0; k < REGISTER_COUNT; ++k) {
        check(bank.registers[k].poly == again.registers[k].poly);
        check(bank.registers[k].top == again.registers[k].top);
        check(bank.registers[k].state == again.registers[k].state);
    }

    // Stepping keeps every state inside its register.
    bank.output_width = 32;
    for (int i = 0; i < 4; ++i) {
        bank_step(bank, REGISTER_COUNT);
        for (int k = 0; k < REGISTER_COUNT; ++k) register_advance(bank, k);
    }
    check_bank(bank);

    // Lines never hold control bytes or bytes of 0x80 and above.
    ListReader reader = list_reader(text);
    for (int i = 0; i < 80; ++i) {
        for (char c : read_list_line(reader)) {
            const auto b = static_cast<unsigned char>(c);
            check(b >= 0x20 && b < 0x80);
        }
    }
    return 0;
}

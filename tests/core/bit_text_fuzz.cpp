// Ring: tests. libFuzzer target: any bytes as identify's input. The reader
// must not read past the text and keeps exactly the 0 and 1 characters; the
// recurrence Berlekamp-Massey finds regenerates every bit read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/berlekamp_massey.h"
#include "core/bit_text.h"

#include "tests/fuzz/fuzz_check.h"

using namespace tapwell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const BitReading r = read_bit_text(text);
    std::size_t bits = 0;
    bool other = false;
    for (char c : text) {
        bits += c == '0' || c == '1';
        other = other || !(c == '0' || c == '1' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f');
    }
    fuzz_check(r.ok() == !other);
    if (!r.ok()) return 0;
    fuzz_check(r.bits.count == bits);

    const LinearRecurrence l = linear_recurrence(r.bits);
    fuzz_check(l.length <= bits);
    fuzz_check(l.has(0));
    for (std::size_t i = l.length; i < bits; ++i) {
        bool sum = false;
        for (std::size_t j = 1; j <= l.length; ++j) sum ^= l.has(j) && r.bits.at(i - j);
        fuzz_check(sum == r.bits.at(i));
    }
    return 0;
}

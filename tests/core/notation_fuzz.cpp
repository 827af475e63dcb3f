// Ring: tests. libFuzzer target: any bytes as a polynomial in each notation.
// A reader must not read past its text; what it accepts has degree 1 to 64,
// and written back it reads as the same polynomial in every notation; what it
// refuses it refuses in words.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/notation.h"

#include "tests/fuzz/fuzz_check.h"

using namespace tapwell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (Notation n : ALL_NOTATIONS) {
        const NotationReading r = read_notation(text, n);
        if (!r.ok()) {
            fuzz_check(r.error.size() > 10);
            continue;
        }
        fuzz_check(r.poly.degree >= 1 && r.poly.degree <= MAX_POLYNOMIAL_DEGREE);
        fuzz_check(r.poly.value >> (r.poly.degree - 1) == 1u);
        for (Notation m : ALL_NOTATIONS) {
            const NotationReading back = read_notation(write_notation(r.poly, m), m);
            fuzz_check(back.ok() && back.poly == r.poly);
        }
        fuzz_check(reciprocal(reciprocal(r.poly)) == r.poly);
    }
    return 0;
}

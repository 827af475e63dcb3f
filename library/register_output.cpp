// Ring: library. register_bits and m_sequence of tapwell/sequences.hpp: the
// output of one register, stepped by core's one rule (core/shift_register.h).
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "core/poly_order.h"
#include "core/shift_register.h"
#include "core/stop_check.h"
#include "library/api_support.h"
#include "library/poly_conversion.h"
#include "library/refusals.h"
#include "library/register_check.h"
#include "tapwell/sequences.hpp"

namespace tapwell {

namespace {

// An M-sequence is held whole, a byte a bit: 4 GiB at degree 32.
constexpr int M_SEQUENCE_MAX_DEGREE = 32;
// Bits between two askings of the stop token: about a millisecond.
constexpr std::size_t PIECE = std::size_t{1} << 20;

// Steps the register through the bits, asking stop between pieces; returns
// whether every bit was written.
template <typename Step>
bool fill_with(std::span<std::uint8_t> bits, std::uint64_t state, const StopCheck& stop, Step step) {
    for (std::size_t from = 0; from < bits.size(); from += PIECE) {
        if (stop != nullptr && stop()) return false;
        for (std::uint8_t& bit : bits.subspan(from, std::min(PIECE, bits.size() - from))) {
            bit = static_cast<std::uint8_t>(state & 1u);
            state = step(state);
        }
    }
    return true;
}

// byte j of BYTES_OF[b] is bit j of b: eight output bits become eight bytes at once.
constexpr auto BYTES_OF = [] {
    std::array<std::uint64_t, 256> table{};
    for (std::size_t b = 0; b < 256; ++b) {
        for (int j = 0; j < 8; ++j) table[b] |= static_cast<std::uint64_t>(b >> j & 1u) << (8 * j);
    }
    return table;
}();

// A Fibonacci register whose taps leave room puts out W bits a run
// (register_run64): for the usual sparse polynomials an order of magnitude
// faster than a bit a step. Returns the state after the bits.
std::uint64_t fill_fibonacci(std::span<std::uint8_t> bits, std::uint64_t state, std::uint64_t taps, int n) {
    const int w = register_run_width(taps, n);
    std::uint8_t* out = bits.data();
    std::uint8_t* const end = out + bits.size();
    if (w >= 8) {
        const std::uint64_t low = (std::uint64_t{1} << w) - 1;
        std::uint64_t pending = 0;  // bits put out, not yet written: fewer than 8 between runs
        int held = 0;
        while (end - out >= 64) {
            pending |= (state & low) << held;
            held += w;
            state = register_run64(state, taps, n, w);
            for (; held >= 8; held -= 8, pending >>= 8, out += 8) std::memcpy(out, &BYTES_OF[pending & 0xFF], 8);
        }
        for (; held > 0; --held, pending >>= 1) *out++ = static_cast<std::uint8_t>(pending & 1u);
    }
    const std::uint64_t top = std::uint64_t{1} << (n - 1);
    for (; out != end; ++out) {
        *out = static_cast<std::uint8_t>(state & 1u);
        state = register_step64(state, taps, top);
    }
    return state;
}

bool fill_bits(const Register& reg, std::span<std::uint8_t> bits, const StopCheck& stop) {
    check_register(reg);
    const PolyWord p = word_of(reg.polynomial);
    const std::uint64_t top = top_of(p), taps = taps_of64(p.value, top);
    if (reg.form == RegisterForm::galois) {
        const std::uint64_t mask = galois_mask_of(taps, p.degree);
        return fill_with(bits, reg.state, stop, [mask](std::uint64_t s) { return galois_step64(s, mask); });
    }
    std::uint64_t state = reg.state;
    for (std::size_t from = 0; from < bits.size(); from += PIECE) {
        if (stop != nullptr && stop()) return false;
        state = fill_fibonacci(bits.subspan(from, std::min(PIECE, bits.size() - from)), state, taps, p.degree);
    }
    return true;
}

}  // namespace

void register_bits(const Register& reg, std::span<std::uint8_t> bits) { fill_bits(reg, bits, nullptr); }

void register_bits(const Register& reg, std::span<std::uint8_t> bits, const RunOptions& options) {
    if (!fill_bits(reg, bits, StopCheck(options.stop))) throw Stopped();
}

std::vector<std::uint8_t> register_bits(const Register& reg, std::size_t count) {
    check_register(reg);
    std::vector<std::uint8_t> bits(count);
    register_bits(reg, bits);
    return bits;
}

std::vector<std::uint8_t> m_sequence(Polynomial polynomial) {
    const int n = polynomial.degree();
    refuse(degree_refusal(word_of(polynomial), "polynomial", 1, M_SEQUENCE_MAX_DEGREE));
    if (!polynomial.is_primitive()) {
        throw InvalidArgument(polynomial.format(Notation::algebraic) +
                              " is not primitive: its register's sequence is no M-sequence");
    }
    return register_bits({polynomial, 1}, mersenne(n));
}

}  // namespace tapwell

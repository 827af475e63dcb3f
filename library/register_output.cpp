// Ring: library. register_bits and m_sequence of tapwell/sequences.hpp: the
// output of one register, stepped by core's one rule (core/shift_register.h).
#include <algorithm>
#include <string>

#include "core/poly_order.h"
#include "core/shift_register.h"
#include "core/stop_check.h"
#include "library/api_support.h"
#include "library/poly_conversion.h"
#include "library/refusals.h"
#include "tapwell/sequences.hpp"

namespace tapwell {

namespace {

// An M-sequence is held whole, a byte a bit: 4 GiB at degree 32.
constexpr int M_SEQUENCE_MAX_DEGREE = 32;
// Bits between two askings of the stop token: about a millisecond.
constexpr std::size_t PIECE = std::size_t{1} << 20;

void check_register(const Register& reg) {
    const int n = reg.polynomial.degree();
    refuse(degree_refusal(word_of(reg.polynomial), "register", 1, 64));
    if (reg.state == 0) throw InvalidArgument("the state 0 never leaves 0: a register's state must not be 0");
    if (n < 64 && reg.state >> n != 0) {
        throw InvalidArgument("the state " + std::to_string(reg.state) + " has more than " + std::to_string(n) +
                              " bits, the register's stages");
    }
}

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

bool fill_bits(const Register& reg, std::span<std::uint8_t> bits, const StopCheck& stop) {
    check_register(reg);
    const PolyWord p = word_of(reg.polynomial);
    const std::uint64_t top = top_of(p), taps = taps_of64(p.value, top);
    if (reg.form == RegisterForm::galois) {
        const std::uint64_t mask = galois_mask_of(taps, p.degree);
        return fill_with(bits, reg.state, stop, [mask](std::uint64_t s) { return galois_step64(s, mask); });
    }
    return fill_with(bits, reg.state, stop, [taps, top](std::uint64_t s) { return register_step64(s, taps, top); });
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

// Ring: library. register_bits and m_sequence of tapwell/sequences.hpp: the
// output of one register, stepped by core's one rule (core/shift_register.h)
// when short, from the stream writer's words when long.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "core/poly_order.h"
#include "core/shift_register.h"
#include "library/api_support.h"
#include "library/poly_conversion.h"
#include "library/refusals.h"
#include "library/register_check.h"
#include "tapwell/sequences.hpp"
#include "tapwell/streams.hpp"

namespace tapwell {

namespace {

// An M-sequence is held whole, a byte a bit: 4 GiB at degree 32.
constexpr int M_SEQUENCE_MAX_DEGREE = 32;
// Below this many bits the register is stepped a bit at a time: setting up
// the stream's word source costs more than the bits.
constexpr std::size_t STEPPED_BITS = 4096;

// byte j of BYTES_OF[b] is bit j of b: eight output bits become eight bytes at once.
constexpr auto BYTES_OF = [] {
    std::array<std::uint64_t, 256> table{};
    for (std::size_t b = 0; b < 256; ++b) {
        for (int j = 0; j < 8; ++j) table[b] |= static_cast<std::uint64_t>(b >> j & 1u) << (8 * j);
    }
    return table;
}();

void step_bits(const Register& reg, std::span<std::uint8_t> bits) {
    const PolyWord p = word_of(reg.polynomial);
    const std::uint64_t top = top_of(p), taps = taps_of64(p.value, top), mask = galois_mask_of(taps, p.degree);
    const bool galois = reg.form == RegisterForm::galois;
    std::uint64_t state = reg.state;
    for (std::uint8_t& bit : bits) {
        bit = static_cast<std::uint8_t>(state & 1u);
        state = galois ? galois_step64(state, mask) : register_step64(state, taps, top);
    }
}

}  // namespace

// Long outputs come packed from the stream writer (tapwell/streams.hpp),
// 64 bits a step in either form, and each byte is spread into eight.
void register_bits(const Register& reg, std::span<std::uint8_t> bits, const RunOptions& options) {
    check_register(reg);
    if (bits.size() < STEPPED_BITS) {
        step_bits(reg, bits);
        return;
    }
    const StreamRequest request{BitSource{{reg}}, 0, bits.size(), StreamFormat::packed, BitOrder::lsb_first};
    std::uint8_t* out = bits.data();
    std::size_t left = bits.size();
    write_stream(
        request,
        [&](std::span<const std::uint8_t> bytes) {
            for (std::uint8_t b : bytes) {
                if (left >= 8) {
                    std::memcpy(out, &BYTES_OF[b], 8);
                    out += 8;
                    left -= 8;
                } else {
                    for (; left > 0; --left, b = static_cast<std::uint8_t>(b >> 1)) *out++ = b & 1u;
                }
            }
        },
        options);
}

void register_bits(const Register& reg, std::span<std::uint8_t> bits) { register_bits(reg, bits, RunOptions{}); }

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

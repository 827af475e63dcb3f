// Ring: library. See tapwell/recurrence.hpp and library/bit_recurrence.h. The
// recurrence and its polynomial are core's (core/berlekamp_massey.h).
#include "library/bit_recurrence.h"

#include "core/notation.h"
#include "library/poly_conversion.h"
#include "tapwell/errors.hpp"

namespace tapwell {

Recurrence recurrence_of(const BitSequence& bits, const StopCheck& stop) {
    const std::optional<LinearRecurrence> run = linear_recurrence(bits, stop);
    if (!run) throw Stopped();
    const LinearRecurrence& r = *run;
    const std::vector<std::uint64_t> word = characteristic_word(r);
    Recurrence out;
    out.linear_complexity = r.length;
    out.polynomial_text = binary_text(word, r.length);
    out.algebraic_text = algebraic_text(word, r.length);
    const PolyWord p = characteristic_polynomial(r);
    if (p.degree != 0) {
        out.polynomial = polynomial_of_word(p);
        // The register's first L outputs are its stages, bit 0 first: the
        // input's first L bits are the state.
        std::uint64_t state = 0;
        for (std::size_t k = 0; k < r.length; ++k) state |= static_cast<std::uint64_t>(bits.at(k)) << k;
        out.initial_state = state;
    }
    out.unique = bits.count >= 2 * r.length;
    return out;
}

Recurrence berlekamp_massey(std::span<const std::uint8_t> bits) { return berlekamp_massey(bits, RunOptions{}); }

Recurrence berlekamp_massey(std::span<const std::uint8_t> bits, const RunOptions& options) {
    BitSequence packed;
    packed.words.reserve((bits.size() + 63) / 64);
    for (const std::uint8_t b : bits) packed.push(b != 0);
    return recurrence_of(packed, StopCheck(options.stop));
}

}  // namespace tapwell

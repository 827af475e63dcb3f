// Ring: core. The jump: the output s obeys p(E) s = 0 for the shift E, so
// with x^k = sum r_i x^i mod p, s_(t+k) = sum r_i s_(t+i); stage j of a state
// is s_(t+j), so each stage after the jump is the parity of r against the
// state j clocks on.
#include "core/register_jump.h"

#include "core/gf2_mulmod.h"
#include "core/shift_register.h"

namespace tapwell {

std::uint64_t x_power_mod(PolyWord p, std::uint64_t k) {
    const gf2::WideModulus m = gf2::make_wide_modulus(p.value, p.degree);
    // x itself reduced: for degree 1, x = 1 mod x + 1.
    std::uint64_t base = p.degree > 1 ? 2u : 1u;
    std::uint64_t result = 1;
    for (; k != 0; k >>= 1) {
        if (k & 1u) result = gf2::mulmod_wide<gf2::PortableMultiplier>(m, result, base);
        base = gf2::mulmod_wide<gf2::PortableMultiplier>(m, base, base);
    }
    return result;
}

std::uint64_t register_jump64(PolyWord p, std::uint64_t state, std::uint64_t k) {
    const std::uint64_t r = x_power_mod(p, k);
    const std::uint64_t top = top_of(p), taps = taps_of64(p.value, top);
    std::uint64_t later = 0;
    for (int j = 0; j < p.degree; ++j) {
        later |= static_cast<std::uint64_t>(__builtin_parityll(r & state)) << j;
        state = register_step64(state, taps, top);
    }
    return later;
}

}  // namespace tapwell

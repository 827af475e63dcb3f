// Ring: core. Arithmetic modulo one polynomial of degree 1..64 (gf2_mulmod.h's
// WideModulus) behind the run-time choice of multiplier: the portable one or
// the carry-less multiply instruction, each compiled in its own translation
// unit (order_kernel_portable.cpp, order_kernel_clmul.cpp).
#pragma once

#include <cstdint>

#include "core/gf2_mulmod.h"
#include "core/primitivity.h"

namespace tapwell {

struct WideArithmetic {
    // a * b mod P, for residues a and b.
    std::uint64_t (*multiply)(const gf2::WideModulus& m, std::uint64_t a, std::uint64_t b);
    // a^e mod P.
    std::uint64_t (*power)(const gf2::WideModulus& m, std::uint64_t a, std::uint64_t e);
    // a^(2^k) mod P: k squarings.
    std::uint64_t (*square_times)(const gf2::WideModulus& m, std::uint64_t a, int k);
};

// The instruction when the processor has it and engine allows it.
const WideArithmetic& wide_arithmetic(Gf2Engine engine = Gf2Engine::best);

// x as a residue modulo a polynomial of degree n (x mod (x + 1) is 1).
constexpr std::uint64_t x_residue(int n) { return n >= 2 ? 2u : 1u; }

namespace detail {
extern const WideArithmetic wide_portable;
extern const WideArithmetic wide_clmul;
}  // namespace detail

}  // namespace tapwell

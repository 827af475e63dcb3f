// Ring: core. The order test of several candidates at a time, as a template
// over the carry-less multiplier (gf2_mulmod.h). Included only by the two
// translation units that instantiate it, each with its own instruction set.
//
// x^(2^i) mod P is computed once per candidate for i = 0..n by squaring; every
// power x^E needed afterwards is a product of those, one per set bit of E.
// Four candidates run side by side so their multiplications overlap.
#pragma once

#include <bit>
#include <cstdint>

#include "core/gf2_mulmod.h"
#include "core/primitivity.h"

namespace tapwell::detail {

// For lanes whose x^(2^n) = x: alive[l] stays true only when x^((2^n - 1)/q)
// != 1 for every prime q of the plan, each power a product of the squares
// powers[i][l] = x^(2^i) mod P_l. Shared by the one-word and the wide kernel.
template <int LANES, typename Modulus, typename MulMod>
void check_order_plan(const OrderPlan& plan, const Modulus* m, const std::uint64_t (*powers)[LANES], bool* alive,
                      MulMod mulmod) {
    bool any = false;
    for (int l = 0; l < LANES; ++l) any = any || alive[l];
    for (int k = 0; any && k < plan.count; ++k) {
        const std::uint64_t e = plan.exponent[k];
        int bit = std::countr_zero(e);
        std::uint64_t acc[LANES];
        for (int l = 0; l < LANES; ++l) acc[l] = powers[bit][l];
        for (std::uint64_t rest = e & (e - 1); rest != 0; rest &= rest - 1) {
            bit = std::countr_zero(rest);
            for (int l = 0; l < LANES; ++l) acc[l] = mulmod(m[l], acc[l], powers[bit][l]);
        }
        any = false;
        for (int l = 0; l < LANES; ++l) {
            // x^((2^n - 1) / q) must not be 1 (checked as x^(that + 1) != x when shorter).
            alive[l] = alive[l] && acc[l] != plan.target[k];
            any = any || alive[l];
        }
    }
}

template <typename Mul>
std::uint32_t keep_primitive_impl(const std::uint32_t* candidates, std::uint32_t count, int n,
                                  bool irreducible_known, std::uint32_t* finds) {
    constexpr int LANES = 4;
    const OrderPlan& plan = order_plan(n);
    const int last_square = irreducible_known ? n - 1 : n;
    std::uint32_t kept = 0;
    for (std::uint32_t first = 0; first < count; first += LANES) {
        const std::uint32_t lanes = count - first < LANES ? count - first : LANES;
        gf2::Modulus m[LANES];
        std::uint64_t powers[33][LANES];  // powers[i] = x^(2^i) mod P
        for (int l = 0; l < LANES; ++l) {
            // Idle lanes repeat the last candidate, so the loops stay uniform.
            const std::uint32_t g = candidates[first + (l < static_cast<int>(lanes) ? l : lanes - 1)];
            m[l] = gf2::make_modulus<Mul>(g, n);
            powers[0][l] = 2;  // x
        }
        for (int i = 1; i <= last_square; ++i) {
            for (int l = 0; l < LANES; ++l) {
                const std::uint64_t a = powers[i - 1][l];
                powers[i][l] = gf2::reduce<Mul>(m[l], Mul::mul(a, a));
            }
        }
        bool alive[LANES];
        // x^(2^n) = x: the order of x divides 2^n - 1.
        for (int l = 0; l < LANES; ++l) alive[l] = irreducible_known || powers[n][l] == 2;
        check_order_plan<LANES>(plan, m, powers, alive,
                                [](const gf2::Modulus& mod, std::uint64_t a, std::uint64_t b) {
                                    return gf2::mulmod<Mul>(mod, a, b);
                                });
        for (std::uint32_t l = 0; l < lanes; ++l) {
            if (alive[l]) finds[kept++] = candidates[first + l];
        }
    }
    return kept;
}

}  // namespace tapwell::detail

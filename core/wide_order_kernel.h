// Ring: core. The order test of primitivity_wide.h as a template over the
// carry-less multiplier (gf2_mulmod.h's WideModulus). Included only by the two
// translation units that instantiate it, each with its own instruction set.
//
// As in order_kernel.h: x^(2^i) mod P once per candidate for i = 0..n by
// squaring, every x^E afterwards a product of those; four candidates side by
// side so that their products overlap. A lane is filled only with a candidate
// of odd weight: the others have the factor x + 1.
#pragma once

#include <bit>
#include <cstdint>

#include "core/gf2_mulmod.h"
#include "core/gf2_wide.h"
#include "core/order_kernel.h"
#include "core/primitivity.h"

namespace tapwell::detail {

// Whether each of g[0..lanes) is primitive; lanes beyond repeat the last, so
// that the loops stay uniform.
template <typename Mul, int LANES>
void test_lanes(const std::uint64_t* g, int lanes, int n, bool* alive) {
    const std::uint64_t x = x_residue(n);
    gf2::WideModulus m[LANES];
    std::uint64_t powers[65][LANES];  // powers[i] = x^(2^i) mod P
    for (int l = 0; l < LANES; ++l) {
        m[l] = gf2::make_wide_modulus(g[l < lanes ? l : lanes - 1], n);
        powers[0][l] = x;
    }
    for (int i = 1; i <= n; ++i) {
        for (int l = 0; l < LANES; ++l) powers[i][l] = gf2::mulmod_wide<Mul>(m[l], powers[i - 1][l], powers[i - 1][l]);
    }
    for (int l = 0; l < LANES; ++l) alive[l] = powers[n][l] == x;  // the order of x divides 2^n - 1
    check_order_plan<LANES>(order_plan(n), m, powers, alive,
                            [](const gf2::WideModulus& mod, std::uint64_t a, std::uint64_t b) {
                                return gf2::mulmod_wide<Mul>(mod, a, b);
                            });
}

template <typename Mul>
std::uint32_t keep_primitive_wide_impl(const std::uint64_t* candidates, std::uint32_t count, int n,
                                       std::uint64_t* finds) {
    constexpr int LANES = 4;
    std::uint32_t kept = 0;
    std::uint32_t next = 0;
    while (next < count) {
        std::uint64_t g[LANES];
        int lanes = 0;
        for (; next < count && lanes < LANES; ++next) {
            // The weight is the stored bits and the constant term: odd when they are even.
            if ((std::popcount(candidates[next]) & 1) == 0) g[lanes++] = candidates[next];
        }
        if (lanes == 0) break;
        bool alive[LANES];
        // A lone candidate (one polynomial's question) is not worth four lanes of work.
        if (lanes == 1) test_lanes<Mul, 1>(g, 1, n, alive);
        else test_lanes<Mul, LANES>(g, lanes, n, alive);
        for (int l = 0; l < lanes; ++l) {
            if (alive[l]) finds[kept++] = g[l];
        }
    }
    return kept;
}

}  // namespace tapwell::detail

// Ring: core. The primitivity test on 64-bit words, for degrees 2 to 64: P of
// degree n is primitive exactly when x^(2^n) = x mod P and x^((2^n - 1)/q) != 1
// for every prime q of 2^n - 1 (core/mersenne_factors.h). The order of x is
// then 2^n - 1, which only a field's unit group holds, so P is irreducible
// too and needs no factorisation. A candidate of even weight is divisible by
// x + 1 and is refused before any product. Pure.
#pragma once

#include <cstdint>

#include "core/primitivity.h"

namespace tapwell {

// g of degree n (the window's word: bit n - 1 is x^n), 2 <= n <= 64.
bool is_primitive_wide(std::uint64_t g, int n, Gf2Engine engine = Gf2Engine::best);

// The primitive ones among count candidates of degree n (2 <= n <= 64),
// written to finds in the candidates' order; returns how many. finds may be
// candidates itself.
std::uint32_t keep_primitive_wide(const std::uint64_t* candidates, std::uint32_t count, int n, std::uint64_t* finds,
                                  Gf2Engine engine = Gf2Engine::best);

namespace detail {
std::uint32_t keep_primitive_wide_portable(const std::uint64_t* candidates, std::uint32_t count, int n,
                                           std::uint64_t* finds);
std::uint32_t keep_primitive_wide_clmul(const std::uint64_t* candidates, std::uint32_t count, int n,
                                        std::uint64_t* finds);
}  // namespace detail

}  // namespace tapwell

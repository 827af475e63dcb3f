// Ring: core. The fast primitivity test: a polynomial P of degree n is
// primitive exactly when x^(2^n) = x mod P and x^((2^n - 1)/q) != 1 for every
// prime q dividing 2^n - 1. Candidates of a range are first sieved by every
// irreducible polynomial of degree up to n/2, which leaves exactly the
// irreducible ones; only those are raised to powers. Gives the same verdict as
// the order walk (tests/reference/order_walk.h) for every polynomial value.
#pragma once

#include <cstdint>

namespace tapwell {

// How many candidates find_primitives handles in one call at most, and the
// alignment of its batches: the sieve works on blocks of this size.
constexpr std::uint32_t PRIMITIVE_BLOCK = 1u << 16;

enum class Gf2Engine {
    best,      // the carry-less multiply instruction when the processor has it
    portable,  // plain shifts and XORs everywhere
};

// Whether the processor offers the carry-less multiply instruction.
bool has_carryless_multiply();

// g of degree n, 3 <= n <= 32.
bool is_primitive_fast(std::uint32_t g, int n, Gf2Engine engine = Gf2Engine::best);

// The primitive polynomial values among first..last (inclusive; all of degree
// n, 3 <= n <= 32, so first and last have bit n - 1 set), written to finds in
// increasing order; returns their count. finds must hold last - first + 1
// values. Any range is accepted; a caller that wants to look at a stop flag
// between calls passes ranges within one block of PRIMITIVE_BLOCK.
std::uint32_t find_primitives(std::uint32_t first, std::uint32_t last, int n, std::uint32_t* finds,
                              Gf2Engine engine = Gf2Engine::best);

namespace detail {

// Exponents to test for one degree n (2 to 64): x^exponent[k] must differ
// from target[k] (1, or x when exponent + 1 has fewer set bits and is used
// instead). 2^60 - 1 has the most distinct primes below 2^64: eleven.
struct OrderPlan {
    std::uint64_t exponent[11];
    std::uint64_t target[11];
    int count;
};
const OrderPlan& order_plan(int n);

// The order test proper, by engine; candidates in increasing order.
std::uint32_t keep_primitive_portable(const std::uint32_t* candidates, std::uint32_t count, int n,
                                      bool irreducible_known, std::uint32_t* finds);
std::uint32_t keep_primitive_clmul(const std::uint32_t* candidates, std::uint32_t count, int n,
                                   bool irreducible_known, std::uint32_t* finds);

}  // namespace detail

}  // namespace tapwell

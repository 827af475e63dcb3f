// tapwell: the primitive polynomials of one degree, in the window's order.
//
// The window's order is that of value() within the degree: from a start
// polynomial upwards, x^n + 1 never among them. Degrees 3 to 64; the window
// itself searches 3 to 32 (WINDOW_MIN_DEGREE to WINDOW_MAX_DEGREE).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "tapwell/export.hpp"
#include "tapwell/polynomial.hpp"
#include "tapwell/run_options.hpp"

namespace tapwell {

struct PrimitiveSearch {
    // The first candidate, as typed into "Searching from": its degree n is the
    // search's, 3 to 64 (x^n + 1 starts at the next candidate).
    Polynomial from;
    // Finds after which to stop; 0 for every primitive polynomial to the end.
    std::uint64_t count = 0;
    // The end, never itself tested: a polynomial of degree n not below from,
    // or x^(n+1) + 1 (the first candidate of the next degree) for the end of
    // the degree; none: the end of the degree. Ranges [a, b) and [b, c) find
    // together exactly what [a, c) finds, so a degree splits across machines.
    std::optional<Polynomial> to = std::nullopt;
    // Only the candidates of exactly this many non-zero terms (3 for the
    // trinomials, 5 for the pentanomials...; odd, 3 to n + 1, since a
    // polynomial of even weight has the factor x + 1); 0 for every candidate.
    int terms = 0;
};

// Calls take(finds) with consecutive runs of finds in order, on the calling
// thread; take returns false to end the search there. Throws InvalidArgument
// for a degree outside 3..64, an end below from or of another degree, a
// number of terms that is even, below 3 or above n + 1, or a search above
// degree 32 that would never end: more than 2^31 candidates (every degree
// above 32 but for few terms) without a count or an end. Throws Stopped when
// the options' stop token asks.
TAPWELL_API void for_each_primitive(const PrimitiveSearch& search,
                                    const std::function<bool(std::span<const Polynomial>)>& take,
                                    const RunOptions& options = {});

// The finds of a search, in order.
TAPWELL_API std::vector<Polynomial> primitive_polynomials(const PrimitiveSearch& search,
                                                          const RunOptions& options = {});
// Every primitive polynomial of the degree (3 to 32), in order.
TAPWELL_API std::vector<Polynomial> primitive_polynomials(int degree, const RunOptions& options = {});
// The first primitive polynomial of the degree in the window's order (degree 2 to 64).
TAPWELL_API Polynomial primitive_polynomial(int degree);
// The first primitive polynomial of the degree (2 to 64) among those of
// fewest non-zero terms: the first trinomial when the degree has a primitive
// one, else the first pentanomial, and so on.
TAPWELL_API Polynomial sparsest_primitive_polynomial(int degree);

}  // namespace tapwell

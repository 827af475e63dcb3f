// tapwell: the primitive polynomials of one degree, in the window's order.
//
// The window's order is that of value() within the degree: from a start
// polynomial upwards, x^n + 1 never among them. Degrees 3 to 32
// (WINDOW_MIN_DEGREE to WINDOW_MAX_DEGREE).
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
    // The first candidate, as typed into "Searching from": its degree is the
    // search's (x^n + 1 starts at the next candidate).
    Polynomial from;
    // Finds after which to stop; 0 for every primitive polynomial to the end.
    std::uint64_t count = 0;
    // The last candidate (same degree as from, not below it); none: to the
    // end of the degree. Splits a degree into ranges, e.g. across machines.
    std::optional<Polynomial> last = std::nullopt;
};

// Calls take(finds) with consecutive runs of finds in order, on the calling
// thread; take returns false to end the search there. Throws InvalidArgument
// for a degree outside 3..32 or a last candidate below from or of another
// degree, Stopped when the options' stop token asks.
TAPWELL_API void for_each_primitive(const PrimitiveSearch& search,
                                    const std::function<bool(std::span<const Polynomial>)>& take,
                                    const RunOptions& options = {});

// The finds of a search, in order.
TAPWELL_API std::vector<Polynomial> primitive_polynomials(const PrimitiveSearch& search,
                                                          const RunOptions& options = {});
// Every primitive polynomial of the degree, in order.
TAPWELL_API std::vector<Polynomial> primitive_polynomials(int degree, const RunOptions& options = {});
// The first primitive polynomial of the degree in the window's order (degree 2 to 64).
TAPWELL_API Polynomial primitive_polynomial(int degree);

}  // namespace tapwell

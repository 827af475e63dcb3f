// Ring: library. A public PrimitiveSearch (tapwell/search.hpp) checked and
// turned into the one range the searches walk: its degree, its first and last
// candidates (the end made inclusive), its count and terms. Its refusals are
// thrown as InvalidArgument, before anything is searched, so that a front end
// can refuse a request before it writes a line of its own.
#pragma once

#include <cstdint>

#include "tapwell/search.hpp"

namespace tapwell {

struct SearchPlan {
    int degree = 0;
    std::uint64_t first = 0;  // the first candidate tested; 0 when the range holds none
    std::uint64_t last = 0;   // the last candidate that may be tested, inclusive
    std::uint64_t count = 0;  // 0: no limit
    int terms = 0;            // 0: any
};

SearchPlan plan_search(const PrimitiveSearch& search);

// The window's own kernel (core/primitivity.h) serves the plan: every
// candidate of a degree up to 32.
bool in_window_kernel(const SearchPlan& plan);

}  // namespace tapwell

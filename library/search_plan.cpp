// Ring: library. See search_plan.h.
#include "library/search_plan.h"

#include <string>

#include "core/mersenne.h"
#include "library/api_support.h"
#include "library/poly_conversion.h"
#include "library/primitive_search_wide.h"
#include "library/refusals.h"

namespace tapwell {

namespace {

// Candidates of a whole degree above which a search never ends in practice:
// those of degree 32.
constexpr double ENDLESS_CANDIDATES = 2147483648.0;

// The number of candidates of `terms` terms of degree n: the middle terms
// among x^1 .. x^(n-1). A double: only its size matters.
double candidates_of_terms(int n, int terms) {
    double c = 1;
    for (int k = 1; k <= terms - 2; ++k) c = c * (n - 1 - (terms - 2) + k) / k;
    return c;
}

}  // namespace

SearchPlan plan_search(const PrimitiveSearch& search) {
    const PolyWord from = word_of(search.from);
    refuse(degree_refusal(from, "from", WINDOW_MIN_DEGREE, Polynomial::max_degree));
    const int n = from.degree;
    if (search.terms != 0) refuse(terms_refusal(search.terms, n));
    SearchPlan plan{n, 0, mersenne(n), search.count, search.terms};
    bool to_the_end = true;
    if (search.to) {
        const PolyWord to = word_of(*search.to);
        const bool next_degree = n < 64 && to.value == std::uint64_t{1} << n;
        if (!next_degree && (to.degree != n || to.value < from.value)) {
            throw InvalidArgument("to: " + search.to->format(Notation::algebraic) + " is not a candidate of degree " +
                                  std::to_string(n) + " from " + search.from.format(Notation::algebraic) +
                                  " on, nor x^" + std::to_string(n + 1) + " + 1");
        }
        if (!next_degree) {
            if (to.value == from.value) return plan;  // an empty range
            plan.last = to.value - 1;
            to_the_end = false;
        }
    }
    if (to_the_end && n > WINDOW_MAX_DEGREE && search.count == 0 &&
        (search.terms == 0 || candidates_of_terms(n, search.terms) > ENDLESS_CANDIDATES)) {
        refuse(endless_search_refusal(n));
    }
    const std::uint64_t first = candidate_at_or_after(from.value, n, search.terms);
    if (first != 0 && first <= plan.last) plan.first = first;
    return plan;
}

bool in_window_kernel(const SearchPlan& plan) { return plan.terms == 0 && plan.degree <= WINDOW_MAX_DEGREE; }

}  // namespace tapwell

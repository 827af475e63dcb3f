// Ring: library. See refusals.h.
#include "library/refusals.h"

#include "core/notation.h"
#include "core/poly_order.h"

namespace tapwell {

namespace {
std::string named(PolyWord p, std::string_view what) {
    return std::string(what) + ": " + write_notation(p, Notation::algebraic);
}
}  // namespace

std::string degree_refusal(PolyWord p, std::string_view what, int lowest, int highest) {
    if (p.degree >= lowest && p.degree <= highest) return {};
    return named(p, what) + " has degree " + std::to_string(p.degree) + "; this takes degrees " +
           std::to_string(lowest) + " to " + std::to_string(highest);
}

std::string pair_degree_refusal(PolyWord p, std::string_view what) {
    if (p.degree % 4 != 0) return {};
    return named(p, what) + " has degree " + std::to_string(p.degree) +
           ", divisible by 4: no preferred pair exists at such a degree (McGuire and Calderbank)";
}

std::string primitive_refusal(PolyWord p, std::string_view what) {
    if (polynomial_facts(p).primitive) return {};
    return named(p, what) + " is not primitive: preferred pairs are pairs of M-sequences";
}

std::string same_degree_refusal(PolyWord a, PolyWord b) {
    if (a.degree == b.degree) return {};
    return "A has degree " + std::to_string(a.degree) + " and B degree " + std::to_string(b.degree) +
           ": the two of a pair have one degree";
}

std::string terms_refusal(int terms, int degree) {
    if (terms % 2 == 0) {
        return "terms: " + std::to_string(terms) +
               " is even; a polynomial of an even number of terms has the factor x + 1 and is never primitive";
    }
    if (terms >= 3 && terms <= degree + 1) return {};
    return "terms: " + std::to_string(terms) + "; a primitive polynomial of degree " + std::to_string(degree) +
           " has 3 to " + std::to_string(degree + 1) + " non-zero terms";
}

std::string endless_search_refusal(int degree) {
    return "a search of degree " + std::to_string(degree) +
           " to the end of the degree never ends (above degree 32 it has more than 2^31 candidates): give it a "
           "count of finds or an end";
}

}  // namespace tapwell

// Ring: cli. See pair_checks.h.
#include "cli/pair_checks.h"

#include <string>

#include "cli/job_runner.h"
#include "core/notation.h"
#include "core/poly_order.h"

namespace tapwell::cli {

namespace {
std::string named(PolyWord p, std::string_view what) {
    return std::string(what) + ": " + write_notation(p, Notation::algebraic);
}
}  // namespace

bool accept_degree(PolyWord p, std::string_view what, int lowest, int highest) {
    if (p.degree >= lowest && p.degree <= highest) return true;
    print_error(named(p, what) + " has degree " + std::to_string(p.degree) + "; this takes degrees " +
                std::to_string(lowest) + " to " + std::to_string(highest));
    return false;
}

bool accept_pair_degree(PolyWord p, std::string_view what) {
    if (p.degree % 4 != 0) return true;
    print_error(named(p, what) + " has degree " + std::to_string(p.degree) +
                ", divisible by 4: no preferred pair exists at such a degree (McGuire and Calderbank)");
    return false;
}

bool accept_primitive(PolyWord p, std::string_view what) {
    if (polynomial_facts(p).primitive) return true;
    print_error(named(p, what) + " is not primitive: preferred pairs are pairs of M-sequences");
    return false;
}

}  // namespace tapwell::cli

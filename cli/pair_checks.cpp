// Ring: cli. See pair_checks.h.
#include "cli/pair_checks.h"

#include <string>

#include "cli/job_runner.h"
#include "library/refusals.h"

namespace tapwell::cli {

namespace {
bool accepted(const std::string& refusal) {
    if (refusal.empty()) return true;
    print_error(refusal);
    return false;
}
}  // namespace

bool accept_degree(PolyWord p, std::string_view what, int lowest, int highest) {
    return accepted(degree_refusal(p, what, lowest, highest));
}

bool accept_pair_degree(PolyWord p, std::string_view what) { return accepted(pair_degree_refusal(p, what)); }

bool accept_primitive(PolyWord p, std::string_view what) { return accepted(primitive_refusal(p, what)); }

bool accept_same_degree(PolyWord a, PolyWord b) { return accepted(same_degree_refusal(a, b)); }

}  // namespace tapwell::cli

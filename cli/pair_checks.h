// Ring: cli. The refusals that partner and check-pair share, each in words
// after "tapwell-cli: WHAT: ": a degree outside the command's range, a degree
// divisible by 4 (no preferred pair exists there), a polynomial that is not
// primitive. Each returns false after its message.
#pragma once

#include <string_view>

#include "core/poly_word.h"

namespace tapwell::cli {

bool accept_degree(PolyWord p, std::string_view what, int lowest, int highest);
bool accept_pair_degree(PolyWord p, std::string_view what);
bool accept_primitive(PolyWord p, std::string_view what);
bool accept_same_degree(PolyWord a, PolyWord b);

}  // namespace tapwell::cli

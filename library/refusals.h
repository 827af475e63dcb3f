// Ring: library. The words of the refusals that the public interface throws
// (InvalidArgument) and tapwell-cli prints after "tapwell-cli: ": one text
// each, so that both say the same. `what` names the parameter ("A", "POLY").
// Each returns an empty text when it accepts.
#pragma once

#include <string>
#include <string_view>

#include "core/poly_word.h"

namespace tapwell {

std::string degree_refusal(PolyWord p, std::string_view what, int lowest, int highest);
// A degree divisible by 4, where no preferred pair exists.
std::string pair_degree_refusal(PolyWord p, std::string_view what);
std::string primitive_refusal(PolyWord p, std::string_view what);
// The two of a pair of different degrees.
std::string same_degree_refusal(PolyWord a, PolyWord b);
// A number of non-zero terms no primitive polynomial of the degree has.
std::string terms_refusal(int terms, int degree);
// A search that would never end: its words name the count and the end.
std::string endless_search_refusal(int degree);

}  // namespace tapwell

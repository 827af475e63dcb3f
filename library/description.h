// Ring: library. What describe tells of one polynomial of degree 1 to 64, as
// facts in their order under the keys that tapwell-cli prints and the Python
// module's describe() returns: computed here once, formatted by each front
// end. Uses core.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "tapwell/polynomial.hpp"

namespace tapwell {

// One irreducible factor, in the window's text and algebraically.
struct DescribedFactor {
    std::string binary;
    std::string algebraic;
    int multiplicity = 1;
};

// A fact's value: a text, a count, a yes/no, a list of texts, the factors.
using FactValue =
    std::variant<std::string, std::uint64_t, bool, std::vector<std::string>, std::vector<DescribedFactor>>;

struct DescribedFact {
    std::string key;
    FactValue value;
};

// The facts of the polynomial, in the order they are shown.
std::vector<DescribedFact> describe_polynomial(const Polynomial& p);

}  // namespace tapwell

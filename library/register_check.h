// Ring: library. The one check of a register the public functions take: a
// degree of 1 to 64 and a state of no more bits than stages, not 0.
#pragma once

#include "tapwell/sequences.hpp"

namespace tapwell {

// Throws InvalidArgument in words for a register no function can run.
void check_register(const Register& reg);

}  // namespace tapwell

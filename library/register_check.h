// Ring: library. The refusal of a register no computation can run (degree
// outside 1..64, a state of 0 or wider than the register), thrown in words
// by every public function that takes a Register.
#pragma once

#include "tapwell/sequences.hpp"

namespace tapwell {

// Throws InvalidArgument naming what is wrong with the register.
void check_register(const Register& reg);

}  // namespace tapwell

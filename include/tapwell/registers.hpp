// tapwell: a register in either form moved in time and carried to the other
// form, to degree 64.
//
// Conventions are those of tapwell/sequences.hpp: the polynomial is the
// characteristic polynomial of the output; in Fibonacci form bit k of the
// state is the k-th bit put out (bit 0 first), in Galois form bit 0 is put
// out and the mask of the polynomial is added when it was 1. A register's
// output sequence is what both functions below keep: the converted register
// puts out the same bits from its first one on, the jumped one the same bits
// from chip K on.
#pragma once

#include <cstdint>

#include "tapwell/export.hpp"
#include "tapwell/sequences.hpp"

namespace tapwell {

// The register of the other form (or of the same one: then unchanged) whose
// output is bit for bit that of `reg`. Throws InvalidArgument for a state of
// 0 or of more than n bits.
TAPWELL_API Register in_form(const Register& reg, RegisterForm form);

// The register `steps` clocks later, in the same form: its output is reg's
// from chip `steps` on. About 2 log2(steps) products modulo the polynomial
// (x^steps mod P), whatever `steps`. Throws as in_form does.
TAPWELL_API Register jumped(const Register& reg, std::uint64_t steps);

}  // namespace tapwell

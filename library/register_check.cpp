// Ring: library. See register_check.h.
#include "library/register_check.h"

#include <string>

#include "library/api_support.h"
#include "library/poly_conversion.h"
#include "library/refusals.h"

namespace tapwell {

void check_register(const Register& reg) {
    const int n = reg.polynomial.degree();
    refuse(degree_refusal(word_of(reg.polynomial), "register", 1, 64));
    if (reg.state == 0) throw InvalidArgument("the state 0 never leaves 0: a register's state must not be 0");
    if (n < 64 && reg.state >> n != 0) {
        throw InvalidArgument("the state " + std::to_string(reg.state) + " has more than " + std::to_string(n) +
                              " bits, the register's stages");
    }
}

}  // namespace tapwell

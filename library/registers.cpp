// Ring: library. tapwell/registers.hpp. A Fibonacci register's state is its
// next n output bits, so both functions go through that form (core's
// register_forms.h), and a jump is core's one jump of a Fibonacci register
// (core/register_jump.h).
#include "tapwell/registers.hpp"

#include "core/register_forms.h"
#include "core/register_jump.h"
#include "core/shift_register.h"
#include "library/poly_conversion.h"
#include "library/register_check.h"

namespace tapwell {

namespace {

struct Steps {
    std::uint64_t taps, top;
    int n;
};

Steps steps_of(const Polynomial& p) {
    const PolyWord w = word_of(p);
    const std::uint64_t top = top_of(w), taps = taps_of64(w.value, top);
    return {taps, top, w.degree};
}

}  // namespace

Register in_form(const Register& reg, RegisterForm form) {
    check_register(reg);
    if (reg.form == form) return reg;
    const Steps s = steps_of(reg.polynomial);
    return {reg.polynomial, state_putting_out(s.taps, s.n, form, first_output_bits(s.taps, s.n, reg.form, reg.state, s.n)),
            form};
}

Register jumped(const Register& reg, std::uint64_t steps) {
    check_register(reg);
    const Register fib = in_form(reg, RegisterForm::fibonacci);
    const std::uint64_t ahead = register_jump64(word_of(reg.polynomial), fib.state, steps);
    return in_form({reg.polynomial, ahead, RegisterForm::fibonacci}, reg.form);
}

}  // namespace tapwell

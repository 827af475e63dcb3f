// Ring: library. tapwell/registers.hpp. A Fibonacci register's state is its
// next n output bits, so both functions go through that form (core's
// register_forms.h), and a jump reads the bits K chips ahead off x^K mod P,
// the linear combination of the first bits they are.
#include "tapwell/registers.hpp"

#include <bit>

#include "core/gf2_wide.h"
#include "core/mersenne.h"
#include "core/register_forms.h"
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
    const Steps s = steps_of(reg.polynomial);
    const int n = s.n;
    // With x^K = sum of r_i x^i mod P, the output a(K + j) is the sum of
    // r_i a(i + j): the n bits ahead need the first 2n - 1.
    const gf2::WideModulus m = gf2::make_wide_modulus(reg.polynomial.value(), n);
    const std::uint64_t r = wide_arithmetic().power(m, x_residue(n), steps);
    const Register fib = in_form(reg, RegisterForm::fibonacci);
    const std::uint64_t low = fib.state;
    const std::uint64_t high = register_steps64(low, s.taps, s.top, n);  // a(n) .. a(2n - 1)
    std::uint64_t ahead = 0;
    for (int j = 0; j < n; ++j) {
        const std::uint64_t window = j == 0 ? low : ((low >> j) | (high << (n - j))) & mersenne(n);
        ahead |= static_cast<std::uint64_t>(std::popcount(window & r) & 1) << j;
    }
    return in_form({reg.polynomial, ahead, RegisterForm::fibonacci}, reg.form);
}

}  // namespace tapwell

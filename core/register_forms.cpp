// Ring: core. See register_forms.h. Stage k first reaches the output after
// k clocks and changes nothing put out before, so the stages of a state can
// be settled in order, each by the one output bit it decides.
#include "core/register_forms.h"

#include "core/shift_register.h"

namespace tapwell {

std::uint64_t first_output_bits(std::uint64_t taps, int n, RegisterForm form, std::uint64_t state, int count) {
    const std::uint64_t top = std::uint64_t{1} << (n - 1), mask = galois_mask_of(taps, n);
    std::uint64_t bits = 0;
    for (int k = 0; k < count; ++k) {
        bits |= (state & 1u) << k;
        state = form == RegisterForm::galois ? galois_step64(state, mask) : register_step64(state, taps, top);
    }
    return bits;
}

std::uint64_t state_putting_out(std::uint64_t taps, int n, RegisterForm form, std::uint64_t bits) {
    if (form == RegisterForm::fibonacci) return bits;
    std::uint64_t state = 0;
    for (int k = 0; k < n; ++k) {
        if ((first_output_bits(taps, n, form, state, k + 1) >> k & 1u) != (bits >> k & 1u)) {
            state |= std::uint64_t{1} << k;
        }
    }
    return state;
}

}  // namespace tapwell

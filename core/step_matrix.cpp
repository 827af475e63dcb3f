// Ring: core. The masks of W steps, by stepping each stage alone: the
// register is linear, so the state's image is the XOR of its stages' images.
#include "core/step_matrix.h"

#include "core/mersenne.h"
#include "core/shift_register.h"

namespace tapwell {

StepMatrix step_matrix(std::uint64_t taps, int n, RegisterForm form, int width) {
    StepMatrix m{n, width, std::vector<std::uint64_t>(static_cast<std::size_t>(width), 0),
                 std::vector<std::uint64_t>(static_cast<std::size_t>(n), 0)};
    const std::uint64_t top = std::uint64_t{1} << (n - 1);
    const std::uint64_t galois = galois_mask_of(taps, n);
    for (int j = 0; j < n; ++j) {
        std::uint64_t s = std::uint64_t{1} << j;
        for (int t = 0; t < width; ++t) {
            m.output[static_cast<std::size_t>(t)] |= (s & 1u) << j;
            s = form == RegisterForm::galois ? galois_step64(s, galois) : register_step64(s, taps, top);
        }
        s &= mersenne(n);
        for (int i = 0; i < n; ++i) m.next[static_cast<std::size_t>(i)] |= (s >> i & 1u) << j;
    }
    return m;
}

}  // namespace tapwell

// Ring: tests. The masks of W steps against the register stepped W times, in
// both forms, at widths below, at and far above the degree.
#include <gtest/gtest.h>

#include <random>

#include "core/mersenne.h"
#include "core/shift_register.h"
#include "core/step_matrix.h"

namespace tapwell {
namespace {

TEST(StepMatrix, IsTheRegisterSteppedWTimes) {
    std::mt19937_64 rng(3);
    for (int n : {1, 2, 3, 7, 31, 33, 63, 64}) {
        for (int width : {1, 7, 64, 100}) {
            for (RegisterForm form : {RegisterForm::fibonacci, RegisterForm::galois}) {
                const std::uint64_t top = std::uint64_t{1} << (n - 1);
                const std::uint64_t taps = (rng() & mersenne(n)) | 1u;
                const StepMatrix m = step_matrix(taps, n, form, width);
                for (int trial = 0; trial < 4; ++trial) {
                    std::uint64_t s = rng() & mersenne(n);
                    const std::uint64_t start = s;
                    for (int t = 0; t < width; ++t) {
                        ASSERT_EQ(masked_parity(start, m.output[t]), s & 1u) << n << " " << width << " " << t;
                        s = form == RegisterForm::galois ? galois_step64(s, galois_mask_of(taps, n))
                                                         : register_step64(s, taps, top);
                    }
                    std::uint64_t next = 0;
                    for (int i = 0; i < n; ++i) next |= masked_parity(start, m.next[i]) << i;
                    ASSERT_EQ(next, s & mersenne(n)) << n << " " << width;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tapwell

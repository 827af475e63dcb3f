// Ring: core. See gf2_wide.h.
#include "core/gf2_wide.h"

namespace tapwell {

const WideArithmetic& wide_arithmetic(Gf2Engine engine) {
    if (engine == Gf2Engine::best && has_carryless_multiply()) return detail::wide_clmul;
    return detail::wide_portable;
}

}  // namespace tapwell

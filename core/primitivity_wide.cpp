// Ring: core. See primitivity_wide.h.
#include "core/primitivity_wide.h"

namespace tapwell {

std::uint32_t keep_primitive_wide(const std::uint64_t* candidates, std::uint32_t count, int n, std::uint64_t* finds,
                                  Gf2Engine engine) {
    if (engine == Gf2Engine::best && has_carryless_multiply()) {
        return detail::keep_primitive_wide_clmul(candidates, count, n, finds);
    }
    return detail::keep_primitive_wide_portable(candidates, count, n, finds);
}

bool is_primitive_wide(std::uint64_t g, int n, Gf2Engine engine) {
    std::uint64_t found = 0;
    return keep_primitive_wide(&g, 1, n, &found, engine) == 1;
}

}  // namespace tapwell

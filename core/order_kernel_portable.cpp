// Ring: core. The order test with the portable multiplier.
#include "core/order_kernel.h"

namespace tapwell::detail {

std::uint32_t keep_primitive_portable(const std::uint32_t* candidates, std::uint32_t count, int n,
                                      bool irreducible_known, std::uint32_t* finds) {
    return keep_primitive_impl<gf2::PortableMultiplier>(candidates, count, n, irreducible_known, finds);
}

}  // namespace tapwell::detail

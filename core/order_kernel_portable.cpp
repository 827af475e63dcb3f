// Ring: core. The order test and the wide arithmetic (gf2_wide.h) with the
// portable multiplier.
#include "core/order_kernel.h"
#include "core/wide_kernel.h"

namespace tapwell::detail {

std::uint32_t keep_primitive_portable(const std::uint32_t* candidates, std::uint32_t count, int n,
                                      bool irreducible_known, std::uint32_t* finds) {
    return keep_primitive_impl<gf2::PortableMultiplier>(candidates, count, n, irreducible_known, finds);
}

const WideArithmetic wide_portable = wide_arithmetic_of<gf2::PortableMultiplier>();

}  // namespace tapwell::detail

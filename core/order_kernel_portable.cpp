// Ring: core. The order test and the wide arithmetic (gf2_wide.h) with the
// portable multiplier.
#include "core/order_kernel.h"
#include "core/wide_kernel.h"
#include "core/wide_order_kernel.h"
#include "core/primitivity_wide.h"

namespace tapwell::detail {

std::uint32_t keep_primitive_portable(const std::uint32_t* candidates, std::uint32_t count, int n,
                                      bool irreducible_known, std::uint32_t* finds) {
    return keep_primitive_impl<gf2::PortableMultiplier>(candidates, count, n, irreducible_known, finds);
}

std::uint32_t keep_primitive_wide_portable(const std::uint64_t* candidates, std::uint32_t count, int n,
                                           std::uint64_t* finds) {
    return keep_primitive_wide_impl<gf2::PortableMultiplier>(candidates, count, n, finds);
}

const WideArithmetic wide_portable = wide_arithmetic_of<gf2::PortableMultiplier>();

}  // namespace tapwell::detail

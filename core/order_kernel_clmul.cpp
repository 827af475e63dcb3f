// Ring: core. The order test and the wide arithmetic (gf2_wide.h) with the
// carry-less multiply instruction. This file alone is compiled for it; the
// caller checks the processor first (has_carryless_multiply) and never calls
// it elsewhere.
#include <bit>
#include <cstdint>

#include "core/primitivity.h"

// Everything defined below (the kernel and its arithmetic) is compiled for the
// instruction; only the declarations above are shared with other files.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#if defined(__clang__)  // clang ignores the GCC pragma
#pragma clang attribute push(__attribute__((target("pclmul,sse4.1"))), apply_to = function)
#else
#pragma GCC target("pclmul,sse4.1")
#endif
#define TAPWELL_HAVE_CLMUL 1
#include <wmmintrin.h>
#elif defined(_MSC_VER) && defined(_M_X64)
#define TAPWELL_HAVE_CLMUL 1
#include <wmmintrin.h>
#endif

#include "core/order_kernel.h"
#include "core/wide_kernel.h"
#include "core/wide_order_kernel.h"
#include "core/primitivity_wide.h"

namespace tapwell::detail {

#if defined(TAPWELL_HAVE_CLMUL)
namespace {
struct InstructionMultiplier {
    static __m128i product(std::uint64_t a, std::uint64_t b) {
        return _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(a)),
                                    _mm_cvtsi64_si128(static_cast<long long>(b)), 0);
    }
    static std::uint64_t mul(std::uint64_t a, std::uint64_t b) {
        return static_cast<std::uint64_t>(_mm_cvtsi128_si64(product(a, b)));
    }
    static gf2::Wide mul_wide(std::uint64_t a, std::uint64_t b) {
        const __m128i p = product(a, b);
        return {static_cast<std::uint64_t>(_mm_cvtsi128_si64(p)),
                static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(p, p)))};
    }
};
}  // namespace

const WideArithmetic wide_clmul = wide_arithmetic_of<InstructionMultiplier>();

std::uint32_t keep_primitive_clmul(const std::uint32_t* candidates, std::uint32_t count, int n,
                                   bool irreducible_known, std::uint32_t* finds) {
    return keep_primitive_impl<InstructionMultiplier>(candidates, count, n, irreducible_known, finds);
}

std::uint32_t keep_primitive_wide_clmul(const std::uint64_t* candidates, std::uint32_t count, int n,
                                        std::uint64_t* finds) {
    return keep_primitive_wide_impl<InstructionMultiplier>(candidates, count, n, finds);
}
#else
std::uint32_t keep_primitive_clmul(const std::uint32_t* candidates, std::uint32_t count, int n,
                                   bool irreducible_known, std::uint32_t* finds) {
    return keep_primitive_portable(candidates, count, n, irreducible_known, finds);
}
const WideArithmetic wide_clmul = wide_arithmetic_of<gf2::PortableMultiplier>();
std::uint32_t keep_primitive_wide_clmul(const std::uint64_t* candidates, std::uint32_t count, int n,
                                        std::uint64_t* finds) {
    return keep_primitive_wide_portable(candidates, count, n, finds);
}
#endif

}  // namespace tapwell::detail

#if defined(__clang__) && defined(TAPWELL_HAVE_CLMUL)
#pragma clang attribute pop
#endif

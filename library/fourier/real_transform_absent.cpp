// Ring: library. RealTransform where the build has no FFTW (the Windows
// programs): the arrays still work, a transform is refused in words.
#include <cstdlib>
#include <new>

#include "library/fourier/real_transform.h"
#include "tapwell/errors.hpp"

namespace tapwell {

void* aligned_block(std::size_t bytes) {
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

void free_aligned_block(void* block) noexcept { std::free(block); }

RealTransform::RealTransform(std::size_t length, bool) : length_(length) {
    throw InvalidArgument("this build of tapwell has no Fourier transforms (FFTW): the correlation of a code "
                          "family is not available in it");
}

RealTransform::~RealTransform() = default;

void RealTransform::forward(double*, Complex*) const {}
void RealTransform::inverse(Complex*, double*) const {}

}  // namespace tapwell

// Ring: library. Real Fourier transforms of one length for the family report
// (library/family_correlation.cpp), with FFTW beneath them where the build
// has it (real_transform_fftw.cpp) and a refusal where it has not
// (real_transform_absent.cpp: the Windows programs). The plans are made once
// per call, under one lock for the whole process (FFTW's planner is not
// reentrant); running them is, on arrays of aligned_array.
#pragma once

#include <complex>
#include <cstddef>
#include <memory>

namespace tapwell {

using Complex = std::complex<double>;

void* aligned_block(std::size_t bytes);
void free_aligned_block(void* block) noexcept;

struct AlignedFree {
    void operator()(void* block) const noexcept { free_aligned_block(block); }
};
template <typename T>
using AlignedArray = std::unique_ptr<T[], AlignedFree>;

// `count` values, uninitialised, aligned as the transforms want them.
template <typename T>
AlignedArray<T> aligned_array(std::size_t count) {
    return AlignedArray<T>(static_cast<T*>(aligned_block(count * sizeof(T))));
}

// The forward transform of `length` reals into length / 2 + 1 complex
// values (X_k = sum x_j e^(-2 pi i j k / L)) and the unnormalised inverse.
// `measured`: plans timed on this machine (a fraction of a second at 2^16,
// repaid over thousands of runs) rather than guessed. Throws
// InvalidArgument in a build without transforms.
class RealTransform {
public:
    RealTransform(std::size_t length, bool measured);
    ~RealTransform();
    RealTransform(const RealTransform&) = delete;
    RealTransform& operator=(const RealTransform&) = delete;

    std::size_t length() const { return length_; }
    std::size_t spectrum_size() const { return length_ / 2 + 1; }
    // From any thread at once, each with its own arrays.
    void forward(double* in, Complex* out) const;
    void inverse(Complex* in, double* out) const;  // overwrites in

private:
    std::size_t length_;
    void* forward_ = nullptr;
    void* inverse_ = nullptr;
};

}  // namespace tapwell

// Ring: library. RealTransform on FFTW. Measuring scribbles on its arrays, so
// it plans on scratch arrays of its own and runs on the caller's with the
// new-array interface. Planning cannot be stopped: its time is bounded, so
// that a stop is seen soon after it at any length.
#include <fftw3.h>

#include <mutex>
#include <new>

#include "library/fourier/real_transform.h"

namespace tapwell {

namespace {
constexpr double PLANNING_SECONDS = 0.3;  // for each plan

std::mutex& planner_lock() {
    static std::mutex lock;
    return lock;
}
}  // namespace

void* aligned_block(std::size_t bytes) {
    void* block = fftw_malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

void free_aligned_block(void* block) noexcept { fftw_free(block); }

RealTransform::RealTransform(std::size_t length, bool measured) : length_(length) {
    AlignedArray<double> real = aligned_array<double>(length);
    AlignedArray<Complex> spectrum = aligned_array<Complex>(spectrum_size());
    auto* complex = reinterpret_cast<fftw_complex*>(spectrum.get());
    const int n = static_cast<int>(length);
    const unsigned rigour = measured ? FFTW_MEASURE : FFTW_ESTIMATE;
    const std::lock_guard<std::mutex> hold(planner_lock());
    fftw_set_timelimit(PLANNING_SECONDS);
    forward_ = fftw_plan_dft_r2c_1d(n, real.get(), complex, rigour);
    inverse_ = fftw_plan_dft_c2r_1d(n, complex, real.get(), rigour | FFTW_DESTROY_INPUT);
    if (forward_ == nullptr || inverse_ == nullptr) throw std::bad_alloc();
}

RealTransform::~RealTransform() {
    const std::lock_guard<std::mutex> hold(planner_lock());
    if (forward_ != nullptr) fftw_destroy_plan(static_cast<fftw_plan>(forward_));
    if (inverse_ != nullptr) fftw_destroy_plan(static_cast<fftw_plan>(inverse_));
}

void RealTransform::forward(double* in, Complex* out) const {
    fftw_execute_dft_r2c(static_cast<fftw_plan>(forward_), in, reinterpret_cast<fftw_complex*>(out));
}

void RealTransform::inverse(Complex* in, double* out) const {
    fftw_execute_dft_c2r(static_cast<fftw_plan>(inverse_), reinterpret_cast<fftw_complex*>(in), out);
}

}  // namespace tapwell

// Ring: python. tapwell.correlate: r over every phase of two M-sequences,
// written by the library straight into an int64 array.
#include <pybind11/numpy.h>

#include "core/mersenne.h"
#include "python/support.h"
#include "tapwell/correlation.hpp"
#include "tapwell/errors.hpp"

namespace tapwell::python {

void bind_correlation(py::module_& m) {
    m.def(
        "correlate",
        [](py::object a, py::object b, int threads) {
            const Polynomial pa = polynomial_arg(a), pb = polynomial_arg(b);
            if (pa.degree() < WINDOW_MIN_DEGREE || pa.degree() > WINDOW_MAX_DEGREE) {
                throw InvalidArgument("A is of degree " + std::to_string(pa.degree()) +
                                      ": the correlation takes degrees 3 to 32");
            }
            const std::size_t n = checked_items(mersenne(pa.degree()), sizeof(std::int64_t), "a correlation");
            py::array_t<std::int64_t> r(static_cast<py::ssize_t>(n));
            const std::span<std::int64_t> values(r.mutable_data(), n);
            run_interruptible(threads, [&](const RunOptions& options) { correlate_all_phases(pa, pb, values, options); });
            return r;
        },
        py::arg("a"), py::arg("b"), py::arg("threads") = 0,
        R"(The periodic cross-correlation of the M-sequences of two polynomials of
one degree (3 to 32) over every phase, as the window computes it: register
A from state 1, register B from state dt + 1, and r[dt] the number of steps
of one period whose bits agree minus the number where they differ (the
correlation of the +1/-1 sequences). An int64 array of 2^n - 1 values; all
cores unless threads= says otherwise.)");
}

}  // namespace tapwell::python

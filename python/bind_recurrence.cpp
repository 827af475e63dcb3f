// Ring: python. tapwell.berlekamp_massey: the shortest register of any 0/1
// array-like, read as bytes by numpy.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "python/support.h"
#include "tapwell/recurrence.hpp"

namespace tapwell::python {

void bind_recurrence(py::module_& m) {
    py::class_<Recurrence>(m, "Recurrence", "The shortest register that produces a bit sequence.")
        .def_readonly("linear_complexity", &Recurrence::linear_complexity, "L, the length of the shortest register.")
        .def_readonly("poly", &Recurrence::polynomial,
                      "Its characteristic polynomial as a tapwell.Poly; None when no register holds it "
                      "(L = 0, L > 64 or x divides it).")
        .def_readonly("state", &Recurrence::initial_state,
                      "The state (bit 0 output first) from which that register reproduces the bits; None "
                      "without a register.")
        .def_readonly("unique", &Recurrence::unique, "At least 2L bits: no other register of length L gives them.")
        .def_readonly("text", &Recurrence::polynomial_text, "The characteristic polynomial in the window's text, any L.")
        .def_readonly("algebraic", &Recurrence::algebraic_text, "The same, algebraic.")
        .def("__repr__", [](const Recurrence& r) {
            return "Recurrence(linear_complexity=" + std::to_string(r.linear_complexity) + ", text='" +
                   r.polynomial_text + "')";
        });
    m.def(
        "berlekamp_massey",
        [](py::object bits) {
            const py::array_t<std::uint8_t, py::array::c_style | py::array::forcecast> bytes =
                py::array::ensure(py::module_::import("numpy").attr("asarray")(bits).attr("astype")("bool"));
            const std::span<const std::uint8_t> view(bytes.data(), static_cast<std::size_t>(bytes.size()));
            return run_interruptible(1, [&](const RunOptions& o) { return berlekamp_massey(view, o); });
        },
        py::arg("bits"),
        "The shortest register (Berlekamp-Massey) that produces the bits, any 0/1 array-like (non-zero is 1).");
}

}  // namespace tapwell::python

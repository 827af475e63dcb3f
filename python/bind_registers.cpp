// Ring: python. tapwell.Register: a register of degree 1 to 64 in either
// form (tapwell/registers.hpp), checked once when made, so that every stream
// and scrambler given one can trust it. Compared, hashed and pickled by
// value, as tapwell.Poly is.
#include <pybind11/stl.h>

#include <cstdio>

#include "python/support.h"
#include "tapwell/registers.hpp"

namespace tapwell::python {

namespace {

std::string hex_of(std::uint64_t v) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(v));
    return text;
}

// The state in hex: at degree 64 its decimal says nothing of its stages.
std::string repr_of(const Register& r) {
    return "Register('" + r.polynomial.format(Notation::binary) + "', state=" + hex_of(r.state) + ", form='" +
           form_name(r.form) + "')";
}

// in_form to its own form changes nothing but refuses what no computation
// runs: a degree outside 1..64, a state of 0 or wider than the register.
Register checked(const Register& r) { return in_form(r, r.form); }

}  // namespace

void bind_registers(py::module_& m) {
    py::class_<Register>(m, "Register", R"(A shift register of degree 1 to 64 in Fibonacci or Galois form.

Register(poly, state=1, form='fibonacci', notation=None): poly as
tapwell.Poly takes it (the characteristic polynomial of the output); state
an int or the window's initial value as binary text ('0001' is 1). In
Fibonacci form bit k of the state is the k-th bit put out; in Galois form
bit 0 is put out and, when it was 1, the polynomial's mask is added to the
state shifted towards bit 0. ValueError, in the library's words, for a
state of 0 or of more bits than the register has stages.

Registers are values: ==, hash and pickle go by polynomial, state and form.
tapwell.sequence and tapwell.scramble take them, alone or in a list (their
outputs summed).)")
        .def(py::init([](py::object poly, py::object state, const std::string& form,
                         std::optional<std::string> notation) {
                 return checked(Register{polynomial_arg(poly, notation), state_arg(state), form_named(form)});
             }),
             py::arg("poly"), py::arg("state") = 1, py::arg("form") = "fibonacci", py::arg("notation") = py::none())
        .def_readonly("poly", &Register::polynomial, "The characteristic polynomial of the output (tapwell.Poly).")
        .def_readonly("state", &Register::state, "The state, an int of at most degree bits, never 0.")
        .def_property_readonly(
            "form", [](const Register& r) { return form_name(r.form); }, "'fibonacci' or 'galois'.")
        .def(
            "in_form", [](const Register& r, const std::string& form) { return in_form(r, form_named(form)); },
            py::arg("form"),
            "The register of that form ('fibonacci' or 'galois') whose output is this one's, bit for bit.")
        .def("jumped", &jumped, py::arg("steps"),
             "The register steps clocks later, in the same form: its output is this one's from chip steps "
             "on. About 2 log2(steps) products modulo the polynomial, whatever steps (to 2^64 - 1).")
        .def("__repr__", &repr_of)
        .def("__eq__",
             [](const Register& a, py::object b) {
                 if (!py::isinstance<Register>(b)) return false;
                 const Register r = b.cast<Register>();
                 return a.polynomial == r.polynomial && a.state == r.state && a.form == r.form;
             })
        .def("__hash__",
             [](const Register& r) {
                 return std::hash<Polynomial>{}(r.polynomial) ^ (std::hash<std::uint64_t>{}(r.state) * 31u) ^
                        static_cast<std::size_t>(r.form);
             })
        .def(py::pickle(
            [](const Register& r) {
                return py::make_tuple(r.polynomial.format(Notation::binary), r.state, form_name(r.form));
            },
            [](const py::tuple& t) {
                return checked(Register{Polynomial::parse(t[0].cast<std::string>()), t[1].cast<std::uint64_t>(),
                                        form_named(t[2].cast<std::string>())});
            }));
}

}  // namespace tapwell::python

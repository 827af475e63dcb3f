// Ring: python. tapwell.Poly: the library's Polynomial with its notations,
// compared, hashed and pickled by value (so that it travels to other
// processes, e.g. Dask's workers).
#include <pybind11/stl.h>

#include "python/support.h"
#include "tapwell/polynomial.hpp"

namespace tapwell::python {

namespace {

std::string repr_of(const Polynomial& p) { return "Poly('" + p.format(Notation::binary) + "')"; }

py::list factors_of(const Polynomial& p) {
    py::list out;
    for (const Factor& f : p.factors()) out.append(py::make_tuple(f.polynomial, f.multiplicity));
    return out;
}

}  // namespace

void bind_polynomial(py::module_& m) {
    py::class_<Polynomial>(m, "Poly", R"(A polynomial over GF(2) of degree 1 to 64 with constant term 1: the
characteristic polynomial of a shift register's output.

Poly(value, notation=None) reads value as:
  - a tapwell.Poly (a copy);
  - an int, the coefficient word: bit k is the coefficient of x^k, so
    0b10011 (19) is x^4 + x + 1;
  - a str in the notation named by notation= ('binary', 'octal', 'hex',
    'koopman', 'decimal', 'algebraic'); without one, a text of 0s and 1s is
    the window's binary text ('10011' is x^4 + x + 1, coefficients from x^n
    down to 1), a text with an x is algebraic ('x^4 + x + 1'), a 0x prefix
    is hex (the whole coefficient word, '0x13'); octal, decimal and Koopman
    (the word without its constant term shifted right one, '0x9') must be
    named.
ValueError for a text or word that is no such polynomial, TypeError for
another type.)")
        .def(py::init([](py::object value, std::optional<std::string> notation) {
                 return polynomial_arg(value, notation);
             }),
             py::arg("value"), py::arg("notation") = py::none())
        .def_property_readonly("degree", &Polynomial::degree, "The degree n, 1 to 64.")
        .def_property_readonly("weight", &Polynomial::weight, "The number of terms, the constant term among them.")
        .def("is_irreducible", &Polynomial::is_irreducible, "Whether it has no factor but itself and 1.")
        .def("is_primitive", &Polynomial::is_primitive,
             "Whether x has order 2^n - 1 modulo it: its register's sequence is an M-sequence.")
        .def("order", &Polynomial::order,
             "The order of x modulo the polynomial: the period of its register's sequence from state 1 "
             "(2^n - 1 exactly when primitive); every other state's period divides it.")
        .def("factors", &factors_of,
             "The irreducible factors as (Poly, multiplicity) pairs, by increasing degree, then value.")
        .def("reciprocal", &Polynomial::reciprocal,
             "x^n P(1/x), the coefficients reversed: the register's connection polynomial.")
        .def(
            "to", [](const Polynomial& p, const std::string& notation) { return p.format(notation_named(notation)); },
            py::arg("notation"),
            "The text in a notation: 'binary' (the window's, '10011'), 'octal' ('23'), 'hex' ('0x13'), "
            "'koopman' ('0x9'), 'decimal' ('19') or 'algebraic' ('x^4 + x + 1'); Poly(text, notation) reads it back.")
        .def("__str__", [](const Polynomial& p) { return p.format(Notation::algebraic); })
        .def("__repr__", &repr_of)
        .def("__int__", &coefficient_int)
        .def("__index__", &coefficient_int)
        .def("__eq__", [](const Polynomial& a, py::object b) {
            return py::isinstance<Polynomial>(b) && a == b.cast<Polynomial>();
        })
        .def("__lt__", [](const Polynomial& a, const Polynomial& b) { return a < b; })
        .def("__hash__", [](const Polynomial& p) { return std::hash<Polynomial>{}(p); })
        .def(py::pickle([](const Polynomial& p) { return p.format(Notation::binary); },
                        [](const std::string& text) { return Polynomial::parse(text); }));
}

}  // namespace tapwell::python

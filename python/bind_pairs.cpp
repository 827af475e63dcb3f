// Ring: python. Preferred pairs: a polynomial's partners, the pairs of a list
// or a degree, and one pair's whole spectrum.
#include <pybind11/stl.h>

#include "python/support.h"
#include "tapwell/errors.hpp"
#include "tapwell/pairs.hpp"
#include "tapwell/search.hpp"

namespace tapwell::python {

namespace {

std::vector<Polynomial> polynomials_of(py::handle degree_or_polys, int threads) {
    if (py::isinstance<py::int_>(degree_or_polys)) {
        const int degree = degree_or_polys.cast<int>();
        return run_interruptible(threads, [&](const RunOptions& o) { return primitive_polynomials(degree, o); });
    }
    std::vector<Polynomial> list;
    for (py::handle item : degree_or_polys) list.push_back(polynomial_arg(item));
    return list;
}

}  // namespace

void bind_pairs(py::module_& m) {
    py::class_<Partner>(m, "Partner", "A preferred partner of a polynomial (tapwell.partners).")
        .def_readonly("polynomial", &Partner::polynomial, "The partner, a tapwell.Poly.")
        .def_readonly("decimation", &Partner::decimation,
                      "The decimation d that maps the polynomial's sequence onto the partner's: the family's "
                      "value, or the least of its coset.")
        .def_property_readonly("family", [](const Partner& p) { return partner_family_name(p.family); },
                               "'Gold', 'Kasami' or 'other' (found by examining every decimation).")
        .def_property_readonly("known", [](const Partner& p) { return p.family != PartnerFamily::other; },
                               "Whether the decimation is of a family known by theorem to give preferred pairs.")
        .def_readonly("verified", &Partner::verified, "Whether every phase of the pair was computed.")
        .def("__repr__", [](const Partner& p) {
            return "Partner(polynomial=Poly('" + p.polynomial.format(Notation::binary) +
                   "'), decimation=" + std::to_string(p.decimation) + ", family='" +
                   partner_family_name(p.family) + "')";
        });
    m.def(
        "partners",
        [](py::object poly, bool exhaustive, bool verify, int threads) {
            const Polynomial f = polynomial_arg(poly);
            const PartnerSearch search{exhaustive, verify};
            return run_interruptible(threads, [&](const RunOptions& o) { return partners(f, search, o); });
        },
        py::arg("poly"), py::arg("exhaustive") = false, py::arg("verify") = false, py::arg("threads") = 0,
        R"(The preferred partners of a primitive polynomial of degree 5 to 64 (not
divisible by 4), sorted by polynomial: by the Gold and Kasami decimations,
or with exhaustive=True every decimation (to degree 20); verify=True
computes every phase of each pair (to degree 32).)");
    m.def(
        "preferred_pairs",
        [](py::object degree_or_polys, std::uint64_t count, int threads) {
            const std::vector<Polynomial> list = polynomials_of(degree_or_polys, threads);
            const std::vector<IndexPair> pairs =
                run_interruptible(threads, [&](const RunOptions& o) { return preferred_pairs(list, count, o); });
            py::list out;
            for (const IndexPair& p : pairs) out.append(py::make_tuple(list[p.first], list[p.second]));
            return out;
        },
        py::arg("degree_or_polys"), py::arg("count") = 0, py::arg("threads") = 0,
        R"(The preferred pairs among a list of polynomials of one degree (3 to 32),
or among every primitive polynomial of a degree, as (Poly, Poly) tuples in
the window's order (row after row of the list). count: pairs after which
to stop, 0 for all.)");
    m.def(
        "check_pair",
        [](py::object a, py::object b, int threads) {
            const Polynomial pa = polynomial_arg(a), pb = polynomial_arg(b);
            const PairCheck check = run_interruptible(threads, [&](const RunOptions& o) { return check_pair(pa, pb, o); });
            py::dict values;
            for (const PairValue& v : check.values) values[py::int_(v.value)] = v.count;
            py::dict out;
            out["preferred"] = check.preferred;
            out["t"] = check.t;
            out["values"] = values;
            return out;
        },
        py::arg("a"), py::arg("b"), py::arg("threads") = 0,
        R"(Two primitive polynomials of one degree (3 to 32) checked over every
phase: {'preferred': bool, 't': t(n), 'values': {r: phases}} with the
values in increasing order. A preferred pair takes only -1, -t and t - 2.)");
    m.def(
        "is_preferred_pair",
        [](py::object a, py::object b, int threads) {
            const Polynomial pa = polynomial_arg(a), pb = polynomial_arg(b);
            return run_interruptible(threads, [&](const RunOptions& o) { return check_pair(pa, pb, o).preferred; });
        },
        py::arg("a"), py::arg("b"), py::arg("threads") = 0,
        "Whether two primitive polynomials of one degree (3 to 32) are a preferred pair.");
}

}  // namespace tapwell::python

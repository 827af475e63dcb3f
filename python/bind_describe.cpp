// Ring: python. tapwell.describe: the library's facts of one polynomial
// (library/description.h) as a dict, the keys and values of
// tapwell-cli describe --json.
#include <variant>

#include "library/description.h"
#include "python/support.h"

namespace tapwell::python {

namespace {

py::object value_of(const FactValue& value) {
    return std::visit(
        [](const auto& v) -> py::object {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::vector<DescribedFactor>>) {
                py::list factors;
                for (const DescribedFactor& f : v) {
                    py::dict d;
                    d["binary"] = f.binary;
                    d["algebraic"] = f.algebraic;
                    d["multiplicity"] = f.multiplicity;
                    factors.append(d);
                }
                return factors;
            } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
                py::list items;
                for (const std::string& s : v) items.append(s);
                return items;
            } else {
                return py::cast(v);
            }
        },
        value);
}

}  // namespace

void bind_describe(py::module_& m) {
    m.def(
        "describe",
        [](py::object poly, std::optional<std::string> notation) {
            py::dict facts;
            for (const DescribedFact& fact : describe_polynomial(polynomial_arg(poly, notation))) {
                facts[py::str(fact.key)] = value_of(fact.value);
            }
            return facts;
        },
        py::arg("poly"), py::arg("notation") = py::none(),
        R"(Every fact of one polynomial of degree 1 to 64, in order: each notation,
the reciprocal (connection polynomial), the factors, primitivity, the order
of x, the recurrence and the first 32 output bits of its Fibonacci and
Galois registers from state 1. The keys and values are those of
tapwell-cli describe --json.)");
}

}  // namespace tapwell::python

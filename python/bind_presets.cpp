// Ring: python. The standards' registers (tapwell/presets.hpp), already in
// the window's convention, ready for tapwell.generate.
#include <pybind11/stl.h>

#include "python/support.h"
#include "tapwell/presets.hpp"

namespace tapwell::python {

namespace {

const char* mode_name(GenerationMode mode) {
    switch (mode) {
        case GenerationMode::serial: return "serial";
        case GenerationMode::parallel: return "parallel";
        case GenerationMode::gold: return "gold";
    }
    return "serial";
}

}  // namespace

void bind_presets(py::module_& m) {
    py::class_<Preset>(m, "Preset", "A register of a standard, in the window's convention.")
        .def_readonly("name", &Preset::name)
        .def_readonly("source", &Preset::source, "The standard and what it says of the register.")
        .def_property_readonly("mode", [](const Preset& p) { return mode_name(p.mode); }, "'serial' or 'gold'.")
        .def_property_readonly(
            "registers",
            [](const Preset& p) {
                py::list out;
                for (const Register& r : p.registers) out.append(py::make_tuple(r.polynomial, r.state));
                return out;
            },
            "(Poly, state) pairs, as tapwell.generate takes them.")
        .def_readonly("inverted", &Preset::inverted, "Whether the standard inverts the register's output.")
        .def_readonly("longest_zero_run", &Preset::longest_zero_run, "As the standard states it; 0 if it does not.")
        .def("__repr__", [](const Preset& p) { return "Preset('" + p.name + "')"; });
    m.def(
        "presets", [] { return std::vector<Preset>(presets().begin(), presets().end()); },
        "Every preset: the PRBS test patterns, then gps-ca-1 to gps-ca-32.");
    m.def(
        "preset", [](const std::string& name) { return preset(name); }, py::arg("name"),
        "The preset of that name ('prbs7', 'gps-ca-1', ...); ValueError for another name.");
}

}  // namespace tapwell::python

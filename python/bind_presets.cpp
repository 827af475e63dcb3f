// Ring: python. The standards' registers (tapwell/presets.hpp), already in
// the window's convention: the window's presets ready for tapwell.generate,
// the other standards' with where they come from, their parameter and the
// bits they put out, ready for tapwell.sequence and tapwell.scramble.
#include <pybind11/stl.h>

#include <limits>

#include "python/support.h"
#include "tapwell/errors.hpp"
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

const char* kind_name(PresetKind kind) {
    switch (kind) {
        case PresetKind::sequence: return "sequence";
        case PresetKind::additive: return "additive";
        case PresetKind::multiplicative: return "multiplicative";
    }
    return "sequence";
}

py::object parameter_or_none(const Preset& p, py::object value) {
    return p.origin.parameter.empty() ? py::none() : value;
}

// A value no uint64 holds gets the library's words for a value out of range
// (or for a preset without a parameter) rather than pybind11's TypeError.
Preset preset_with(const std::string& name, py::object value) {
    if (value.is_none()) return preset(name);
    if (!py::isinstance<py::int_>(value) || py::isinstance<py::bool_>(value)) {
        throw py::type_error("a preset's parameter is an int, not " +
                             std::string(py::str(py::type::handle_of(value).attr("__name__"))));
    }
    const bool negative = PyObject_RichCompareBool(value.ptr(), py::int_(0).ptr(), Py_LT) == 1;
    const bool wide = PyObject_RichCompareBool(
                          value.ptr(), py::int_(std::numeric_limits<std::uint64_t>::max()).ptr(), Py_GT) == 1;
    if (negative || wide) {
        const Preset& p = preset(name);
        if (p.origin.parameter.empty()) return preset(name, 0);  // refused: it takes none
        throw InvalidArgument("--" + p.origin.parameter + " of " + name + " must be " +
                              std::to_string(p.origin.parameter_low) + " to " +
                              std::to_string(p.origin.parameter_high) + ", not " + std::string(py::repr(value)));
    }
    return preset(name, value.cast<std::uint64_t>());
}

// What the standard puts out, as preset_bits defines it: the registers'
// summed output, inverted where it says so; a self-synchronous scrambler
// fed zeros sends what enters its register, its output n bits on.
py::array bits_of(const Preset& p, std::uint64_t count) {
    const std::uint64_t ahead =
        p.origin.kind == PresetKind::multiplicative ? static_cast<std::uint64_t>(p.registers[0].polynomial.degree()) : 0;
    return stream_array(BitSource{p.registers, p.inverted}, ahead, count, "bits", BitOrder::msb_first);
}

}  // namespace

void bind_presets(py::module_& m) {
    py::class_<Preset>(m, "Preset", R"(A register of a standard, in the window's convention.

The window's presets (the PRBS patterns, GPS C/A codes) leave the fields of
origin empty: standard, section and written are '', kind 'sequence'. The
other standards' fill them in. tapwell.sequence, tapwell.scramble and
tapwell.Scrambler take a Preset as their source.)")
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
            "(Poly, state) pairs, as tapwell.generate takes them. They carry no form: a Galois-form "
            "preset's states read as Fibonacci ones give another phase; register_objects keeps the form.")
        .def_property_readonly(
            "register_objects",
            [](const Preset& p) {
                py::list out;
                for (const Register& r : p.registers) out.append(py::cast(r));
                return out;
            },
            "The same registers as tapwell.Register objects, with their form: 1 (serial) or 2 (gold), whose "
            "outputs are summed.")
        .def_readonly("inverted", &Preset::inverted, "Whether the standard inverts the register's output.")
        .def_readonly("longest_zero_run", &Preset::longest_zero_run, "As the standard states it; 0 if it does not.")
        .def_property_readonly(
            "kind", [](const Preset& p) { return kind_name(p.origin.kind); },
            "What the standard does with the output: 'sequence' (sends it), 'additive' (adds it to the data) "
            "or 'multiplicative' (a self-synchronous scrambler's register).")
        .def_property_readonly(
            "form", [](const Preset& p) { return form_name(p.registers.front().form); },
            "The form the standard draws: 'fibonacci' or 'galois'.")
        .def_property_readonly(
            "standard", [](const Preset& p) { return p.origin.standard; }, "The document ('IEEE 802.11-2020').")
        .def_property_readonly(
            "section", [](const Preset& p) { return p.origin.section; }, "Where in it the register is drawn.")
        .def_property_readonly(
            "written", [](const Preset& p) { return p.origin.written; }, "Its polynomial as the standard writes it.")
        .def_property_readonly(
            "code_length", [](const Preset& p) { return p.origin.code_length; },
            "Chips of the code where the standard cuts the period short (BeiDou B1I's 2046), else 0.")
        .def_property_readonly(
            "parameter",
            [](const Preset& p) { return parameter_or_none(p, py::str(p.origin.parameter)); },
            "The parameter tapwell.preset(name, value) sets: 'seed', 'c-init' or 'channel'; None for none.")
        .def_property_readonly(
            "parameter_range",
            [](const Preset& p) {
                return parameter_or_none(p, py::make_tuple(p.origin.parameter_low, p.origin.parameter_high));
            },
            "(low, high), both allowed; None without a parameter.")
        .def_property_readonly(
            "parameter_value", [](const Preset& p) { return parameter_or_none(p, py::int_(p.origin.parameter_value)); },
            "The value these registers are built for; None without a parameter.")
        .def("bits", &bits_of, py::arg("count"),
             "The first count bits the standard puts out, uint8 0/1: the registers' summed output, inverted "
             "where it says so; for a self-synchronous scrambler, what it sends for data of zeros.")
        .def("__repr__", [](const Preset& p) {
            if (p.origin.parameter.empty()) return "Preset('" + p.name + "')";
            return "Preset('" + p.name + "', " + p.origin.parameter + "=" + std::to_string(p.origin.parameter_value) +
                   ")";
        });
    m.def(
        "presets", [] { return std::vector<Preset>(presets().begin(), presets().end()); },
        "Every preset: the PRBS test patterns, gps-ca-1 to gps-ca-32, then the other standards' registers "
        "with their parameters at their defaults.");
    m.def("preset", &preset_with, py::arg("name"), py::arg("value") = py::none(),
          "The preset of that name ('prbs7', 'gps-ca-1', 'wifi-scrambler', ...); with value, its parameter "
          "(seed, c-init or channel) set to it. ValueError in words for another name, a value out of the "
          "parameter's range or a value for a preset that takes none.");
}

}  // namespace tapwell::python

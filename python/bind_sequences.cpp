// Ring: python. tapwell.m_sequence and tapwell.generate: a register's output
// and the window's generation written straight into a numpy array.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <span>

#include "core/mersenne.h"
#include "core/shift_register.h"
#include "python/support.h"
#include "tapwell/errors.hpp"
#include "tapwell/sequences.hpp"

namespace tapwell::python {

namespace {

py::array m_sequence_of(py::object poly, std::optional<std::uint64_t> length, py::object state,
                        const std::string& output, std::optional<std::string> notation) {
    const Register reg{polynomial_arg(poly, notation), state_arg(state), RegisterForm::fibonacci};
    const bool bipolar = output == "bipolar";
    if (!bipolar && output != "binary") {
        throw InvalidArgument("output '" + output + "': the outputs are 'binary' (0/1) and 'bipolar' (+1/-1)");
    }
    const std::size_t count = checked_items(length ? *length : reg.polynomial.order(), 1, "a sequence");
    const py::ssize_t size = static_cast<py::ssize_t>(count);
    py::array out = bipolar ? py::array(py::array_t<std::int8_t>(size)) : py::array(py::array_t<std::uint8_t>(size));
    const std::span<std::uint8_t> bits(static_cast<std::uint8_t*>(out.mutable_data()), count);
    run_interruptible(0, [&](const RunOptions& options) {
        register_bits(reg, bits, options);
        if (bipolar) to_bipolar(bits, options);
    });
    return out;
}

GenerationMode mode_named(const std::string& name) {
    if (name == "serial") return GenerationMode::serial;
    if (name == "parallel") return GenerationMode::parallel;
    if (name == "gold") return GenerationMode::gold;
    throw InvalidArgument("mode '" + name + "': the modes are 'serial', 'parallel' and 'gold'");
}

// The window's list text (a polynomial line and an initial-value line a
// register) or (poly, initial) pairs.
std::vector<Register> registers_of(py::handle registers) {
    std::vector<Register> out;
    if (py::isinstance<py::str>(registers)) {
        const std::string text = registers.cast<std::string>();
        ListReader reader = list_reader(text);
        while (true) {
            const std::string_view poly = read_list_line(reader);
            if (poly.empty()) break;
            const std::string_view initial = read_list_line(reader);
            out.push_back({Polynomial::parse(poly), state_arg(py::str(std::string(initial)))});
        }
        if (out.empty()) throw InvalidArgument("the register list is empty");
        return out;
    }
    for (py::handle item : registers) {
        if (py::isinstance<py::str>(item) || py::len(item) != 2) {
            throw py::type_error("a register is a (poly, initial) pair");
        }
        const py::sequence pair = py::reinterpret_borrow<py::sequence>(item);
        out.push_back({polynomial_arg(pair[0]), state_arg(pair[1])});
    }
    return out;
}

py::array generate_of(py::object registers, const std::string& mode, int width, std::uint64_t count, int threads) {
    Generation g;
    g.mode = mode_named(mode);
    g.width = width;
    g.registers = registers_of(registers);
    g.count = count != 0 ? count : mersenne(g.registers.front().polynomial.degree());
    if (g.count > 0xFFFFFFFFu) throw InvalidArgument("a generation holds at most 2^32 - 1 values");
    const std::size_t n = checked_items(g.count, sizeof(std::uint32_t), "a generation");
    py::array_t<std::uint32_t> out(static_cast<py::ssize_t>(n));
    const std::span<std::uint32_t> values(out.mutable_data(), n);
    run_interruptible(threads, [&](const RunOptions& options) { generate(g, values, options); });
    return out;
}

}  // namespace

void bind_sequences(py::module_& m) {
    m.def("m_sequence", &m_sequence_of, py::arg("poly"), py::arg("length") = py::none(), py::arg("state") = 1,
          py::arg("output") = "binary", py::arg("notation") = py::none(),
          R"(The output of the window's register (Fibonacci form) of a polynomial.

poly: any polynomial tapwell.Poly takes, degree 1 to 64 (the characteristic
polynomial of the output). state: the initial value as an int or the
window's binary text ("0001" is 1): bit 0 is the stage output first, the
feedback enters at bit n - 1. length: bits; by default the order of x (one
period: 2^n - 1 for a primitive polynomial). output: 'binary' gives uint8
0/1, 'bipolar' int8 +1/-1 (0 -> +1, 1 -> -1). MemoryError before
allocating a length the machine cannot hold; Ctrl-C interrupts it.)");
    m.def("generate", &generate_of, py::arg("registers"), py::arg("mode") = "serial", py::arg("width") = 1,
          py::arg("count") = 0, py::arg("threads") = 0,
          R"(The values the window's generation writes, as a uint32 array.

registers: (poly, initial) pairs, or the window's list text (a polynomial
line, then its initial-value line, for each register); degrees 1 to 32.
mode: 'serial' (register 0, width bits of its output a value), 'parallel'
(registers 0 .. width - 1, one bit of the value each) or 'gold' (registers
0 and 1, width bits of the sum of their outputs). Bit 0 of a value is its
earliest bit. count: values, 0 for 2^n - 1 (n the degree of register 0).)");
}

}  // namespace tapwell::python

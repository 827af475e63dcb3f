// Ring: python. See support.h: the arguments as Python users write them.
#include "python/support.h"

#include <unistd.h>

#include <algorithm>
#include <limits>

#include "core/notation.h"
#include "tapwell/errors.hpp"

namespace tapwell::python {

namespace {

// Without a named notation the text tells: 0x is hex, an x is algebraic, 0s
// and 1s are the window's text; other digits could be octal, decimal or
// Koopman's, and guessing among them is how polynomials get mixed up.
Notation notation_of_text(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    const std::string_view body = first == std::string_view::npos ? text : text.substr(first);
    if (body.size() >= 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) return Notation::hex;
    if (text.find_first_of("xX") != std::string_view::npos) return Notation::algebraic;
    if (!body.empty() && std::all_of(body.begin(), body.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        body.find_first_not_of("01") != std::string_view::npos) {
        throw InvalidArgument("'" + std::string(text) +
                              "' is not the window's binary text: name its notation (notation='octal', "
                              "'decimal' or 'koopman')");
    }
    return Notation::binary;
}

Polynomial polynomial_of_int(const py::int_& value) {
    if (PyObject_RichCompareBool(value.ptr(), py::int_(0).ptr(), Py_LE) == 1) {
        throw InvalidArgument("the coefficient word " + std::string(py::repr(value)) +
                              " is no polynomial: it must be positive, bit k the coefficient of x^k");
    }
    const py::int_ mask64(std::numeric_limits<std::uint64_t>::max());
    const py::int_ lo = value & mask64;
    const py::int_ rest = py::reinterpret_steal<py::int_>(PyNumber_Rshift(value.ptr(), py::int_(64).ptr()));
    if (PyObject_RichCompareBool(rest.ptr(), mask64.ptr(), Py_GT) == 1) {
        throw InvalidArgument("the coefficient word has more than 128 bits: polynomials go to degree 64");
    }
    const NotationReading reading = read_coefficient_word(lo.cast<std::uint64_t>(), rest.cast<std::uint64_t>());
    if (!reading.ok()) throw InvalidArgument(reading.error);
    return Polynomial::from_value(reading.poly.value);
}

}  // namespace

Polynomial polynomial_arg(py::handle value, const std::optional<std::string>& notation) {
    if (py::isinstance<Polynomial>(value)) {
        if (notation) throw py::type_error("notation= is for a polynomial given as text, not a tapwell.Poly");
        return value.cast<Polynomial>();
    }
    if (py::isinstance<py::str>(value)) {
        const std::string text = value.cast<std::string>();
        return Polynomial::parse(text, notation ? notation_named(*notation) : notation_of_text(text));
    }
    if (py::isinstance<py::int_>(value) && !py::isinstance<py::bool_>(value)) {
        if (notation) throw py::type_error("notation= is for a polynomial given as text, not an int");
        return polynomial_of_int(py::reinterpret_borrow<py::int_>(value));
    }
    throw py::type_error("a polynomial is a tapwell.Poly, an int (bit k the coefficient of x^k) or a str, not " +
                         std::string(py::str(py::type::handle_of(value).attr("__name__"))));
}

py::int_ coefficient_int(const Polynomial& p) {
    const py::int_ shifted = py::reinterpret_steal<py::int_>(PyNumber_Lshift(py::int_(p.value()).ptr(), py::int_(1).ptr()));
    return shifted | py::int_(1);
}

std::uint64_t state_arg(py::handle value) {
    if (py::isinstance<py::str>(value)) {
        const std::string text = value.cast<std::string>();
        if (text.empty() || text.size() > 64 || text.find_first_not_of("01") != std::string::npos) {
            throw InvalidArgument("the initial value '" + text + "' is not 1 to 64 binary digits");
        }
        return std::stoull(text, nullptr, 2);
    }
    if (py::isinstance<py::int_>(value) && !py::isinstance<py::bool_>(value)) {
        if (PyObject_RichCompareBool(value.ptr(), py::int_(0).ptr(), Py_LT) == 1 ||
            PyObject_RichCompareBool(value.ptr(), py::int_(std::numeric_limits<std::uint64_t>::max()).ptr(),
                                     Py_GT) == 1) {
            throw InvalidArgument("the state " + std::string(py::repr(value)) + " is not a register's (0 to 2^64 - 1)");
        }
        return value.cast<std::uint64_t>();
    }
    throw py::type_error("a state is an int or the window's initial value as binary text, not " +
                         std::string(py::str(py::type::handle_of(value).attr("__name__"))));
}

RegisterForm form_named(const std::string& name) {
    if (name == "fibonacci") return RegisterForm::fibonacci;
    if (name == "galois") return RegisterForm::galois;
    throw InvalidArgument("form '" + name + "': a register is in 'fibonacci' or 'galois' form");
}

const char* form_name(RegisterForm form) { return form == RegisterForm::galois ? "galois" : "fibonacci"; }

BitOrder bit_order_named(const std::string& name) {
    if (name == "msb") return BitOrder::msb_first;
    if (name == "lsb") return BitOrder::lsb_first;
    throw InvalidArgument("bit_order '" + name + "': the first bit of a byte goes in its 'msb' or its 'lsb'");
}

SourceArg source_arg(py::handle value) {
    if (py::isinstance<Preset>(value)) {
        SourceArg out{{}, value.cast<Preset>()};
        out.source = {out.preset->registers, out.preset->inverted};
        return out;
    }
    if (py::isinstance<Register>(value)) return {{{value.cast<Register>()}}, std::nullopt};
    // A (poly, state) pair carries no form, and a Galois preset's pairs would
    // be read as Fibonacci registers: only Register objects are taken.
    if (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value)) {
        SourceArg out;
        for (py::handle item : value) {
            if (!py::isinstance<Register>(item)) {
                throw py::type_error("a list of sources holds tapwell.Register objects, not " +
                                     std::string(py::str(py::type::handle_of(item).attr("__name__"))) +
                                     " (a preset's are its register_objects)");
            }
            out.source.registers.push_back(item.cast<Register>());
        }
        if (out.source.registers.empty()) throw InvalidArgument("the list of registers is empty");
        return out;
    }
    throw py::type_error("a source is a tapwell.Register, a tapwell.Preset or a list of Registers, not " +
                         std::string(py::str(py::type::handle_of(value).attr("__name__"))));
}

std::size_t checked_items(std::uint64_t count, std::size_t itemsize, const char* what) {
    const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()) / itemsize;
    const long pages = sysconf(_SC_PHYS_PAGES), page = sysconf(_SC_PAGESIZE);
    const std::uint64_t memory =
        pages > 0 && page > 0 ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page) : 0;
    if (count > limit || (memory != 0 && count * itemsize > memory)) {
        const std::string words = std::string(what) + " of " + std::to_string(count) + " items of " +
                                  std::to_string(itemsize) + " bytes is more than this machine's memory (" +
                                  std::to_string(memory >> 20) + " MiB)";
        PyErr_SetString(PyExc_MemoryError, words.c_str());
        throw py::error_already_set();
    }
    return static_cast<std::size_t>(count);
}

// 0 -> +1, 1 -> -1 in place, asking stop between pieces.
void to_bipolar(std::span<std::uint8_t> bits, const RunOptions& options) {
    constexpr std::size_t PIECE = std::size_t{1} << 22;
    for (std::size_t from = 0; from < bits.size(); from += PIECE) {
        if (options.stop.stop_requested()) throw Stopped();
        for (std::uint8_t& b : bits.subspan(from, std::min(PIECE, bits.size() - from))) {
            b = static_cast<std::uint8_t>(1 - 2 * b);
        }
    }
}

}  // namespace tapwell::python

// Ring: python. tapwell.scramble and tapwell.Scrambler over
// tapwell/scrambling.hpp: any contiguous bytes in (bytes, bytearray,
// memoryview, numpy uint8), a new bytes object out, scrambled in place with
// the GIL released.
#include <pybind11/stl.h>

#include <cstring>
#include <memory>
#include <mutex>

#include "python/support.h"
#include "tapwell/errors.hpp"
#include "tapwell/scrambling.hpp"

namespace tapwell::python {

namespace {

// Bytes scrambled between looks at the stop token.
constexpr std::size_t PIECE_BYTES = std::size_t{1} << 20;
// Below this a thread of its own costs more than the data: a packet's bytes
// are scrambled with the GIL held.
constexpr std::size_t INLINE_BYTES = std::size_t{1} << 16;

ScrambleKind kind_of(const SourceArg& s, const std::optional<std::string>& kind) {
    if (kind) {
        if (*kind == "additive") return ScrambleKind::additive;
        if (*kind == "multiplicative") return ScrambleKind::multiplicative;
        throw InvalidArgument("kind '" + *kind + "': a scrambler is 'additive' or 'multiplicative' (self-synchronous)");
    }
    // As tapwell-cli scramble: the preset's own kind, additive for the rest.
    return s.preset && s.preset->origin.kind == PresetKind::multiplicative ? ScrambleKind::multiplicative
                                                                            : ScrambleKind::additive;
}

ScrambleRequest request_of(py::handle source, const std::optional<std::string>& kind, bool descramble,
                           const std::string& bit_order) {
    const SourceArg s = source_arg(source);
    return {s.source, kind_of(s, kind), descramble, bit_order_named(bit_order)};
}

// The caller's bytes, held (and a bytearray kept from resizing) while they
// are read with the GIL released, and a new bytes object of our own they
// are copied into and scrambled in place, a piece at a time: copying a GiB
// into new pages takes seconds, and Ctrl-C is heard between pieces.
struct Data {
    py::buffer_info view;
    py::bytes out;
    std::span<const std::uint8_t> in;
    std::span<std::uint8_t> to;
};

Data data_of(py::handle data) {
    if (py::isinstance<py::str>(data)) throw py::type_error("data is bytes, not str: encode it first");
    if (!PyObject_CheckBuffer(data.ptr())) {
        throw py::type_error("data is bytes, a bytearray, a memoryview or a numpy uint8 array, not " +
                             std::string(py::str(py::type::handle_of(data).attr("__name__"))));
    }
    Data d{py::reinterpret_borrow<py::buffer>(data).request(), {}, {}, {}};
    const py::buffer_info& info = d.view;
    if (info.itemsize != 1) {
        throw py::type_error("data's items are " + std::to_string(info.itemsize) +
                             " bytes wide: give bytes (numpy: a uint8 array)");
    }
    py::ssize_t expected = 1;
    for (py::ssize_t i = info.ndim - 1; i >= 0; --i) {
        if (info.shape[static_cast<std::size_t>(i)] > 1 && info.strides[static_cast<std::size_t>(i)] != expected) {
            throw py::type_error("data is not contiguous: copy it first (numpy.ascontiguousarray)");
        }
        expected *= info.shape[static_cast<std::size_t>(i)];
    }
    // Made empty, then filled: a bytes object of one byte made from its
    // contents is CPython's shared one for that byte, not ours to change.
    PyObject* out = PyBytes_FromStringAndSize(nullptr, info.size);
    if (out == nullptr) throw py::error_already_set();
    d.out = py::reinterpret_steal<py::bytes>(out);
    const std::size_t size = static_cast<std::size_t>(info.size);
    d.in = {static_cast<const std::uint8_t*>(info.ptr), size};
    d.to = {reinterpret_cast<std::uint8_t*>(PyBytes_AS_STRING(out)), size};
    return d;
}

void process_in_pieces(Scrambler& scrambler, const Data& data, const RunOptions& options) {
    for (std::size_t at = 0; at < data.to.size(); at += PIECE_BYTES) {
        if (options.stop.stop_requested()) throw Stopped();
        const std::size_t size = std::min(PIECE_BYTES, data.to.size() - at);
        std::memcpy(data.to.data() + at, data.in.data() + at, size);
        scrambler.process(data.to.subspan(at, size));
    }
}

template <typename Work>
void run_pieces(const Data& data, Work work) {
    if (data.to.size() <= INLINE_BYTES) {
        work(RunOptions{});
    } else {
        run_interruptible(0, work);
    }
}

// A Scrambler for data in pieces. Ctrl-C in the middle of a piece leaves
// the register somewhere inside it, so that scrambler refuses further data
// rather than going on from a place nobody knows.
class PieceScrambler {
public:
    explicit PieceScrambler(const ScrambleRequest& request) : request_(request), scrambler_(request) {}

    py::bytes process(py::handle data) {
        if (lost_) {
            throw InvalidArgument("this scrambler was interrupted in the middle of data and has lost its place: "
                                  "make a new one");
        }
        Data d = data_of(data);
        try {
            run_pieces(d, [&](const RunOptions& options) {
                // Calls from two Python threads take turns: a piece is never
                // cut into by another.
                std::lock_guard lock(mutex_);
                process_in_pieces(scrambler_, d, options);
            });
        } catch (...) {
            lost_ = true;
            throw;
        }
        return d.out;
    }

    const ScrambleRequest& request() const { return request_; }

private:
    ScrambleRequest request_;
    Scrambler scrambler_;
    std::mutex mutex_;
    bool lost_ = false;
};

py::bytes scramble_of(py::handle data, py::handle source, const std::optional<std::string>& kind, bool descramble,
                      const std::string& bit_order) {
    Data d = data_of(data);
    Scrambler scrambler(request_of(source, kind, descramble, bit_order));
    run_pieces(d, [&](const RunOptions& options) { process_in_pieces(scrambler, d, options); });
    return d.out;
}

}  // namespace

void bind_scrambling(py::module_& m) {
    m.def("scramble", &scramble_of, py::arg("data"), py::arg("source"), py::arg("kind") = py::none(),
          py::arg("descramble") = false, py::arg("bit_order") = "msb",
          R"(The data scrambled (or, descramble=True, descrambled) with a source, as bytes.

data: bytes, a bytearray, a memoryview or a numpy uint8 array, contiguous;
its bits are taken from each byte msb first or, bit_order='lsb', lsb first.
source: a tapwell.Register, a tapwell.Preset or a list of Registers (their
outputs summed), as tapwell.sequence takes it. kind: 'additive' adds the
source's output from chip 0 (descrambling is the same); 'multiplicative'
is self-synchronous: one Fibonacci register, not inverted, holding the
last n bits sent (bit 0 the oldest), so that a descrambler started in any
other state gives the data back from bit n on. By default the preset's own
kind (multiplicative for scrambler-64b66b), additive for the rest.
Ctrl-C interrupts it.)");
    py::class_<PieceScrambler>(m, "Scrambler", R"(A scrambler that keeps its place between calls, for data in pieces.

Scrambler(source, kind=None, descramble=False, bit_order='msb') takes what
tapwell.scramble takes; process(data) returns the piece scrambled, the
pieces together exactly what one tapwell.scramble of the whole gives, so
that pieces of any size (bits of a byte stay together) change nothing.
Interrupted by Ctrl-C in the middle of a piece, a scrambler has lost its
place and refuses more data with ValueError.)")
        .def(py::init([](py::handle source, const std::optional<std::string>& kind, bool descramble,
                         const std::string& bit_order) {
                 return std::make_unique<PieceScrambler>(request_of(source, kind, descramble, bit_order));
             }),
             py::arg("source"), py::arg("kind") = py::none(), py::arg("descramble") = false,
             py::arg("bit_order") = "msb")
        .def("process", &PieceScrambler::process, py::arg("data"),
             "The next piece of data scrambled (or descrambled), as bytes.")
        .def_property_readonly(
            "kind",
            [](const PieceScrambler& s) {
                return s.request().kind == ScrambleKind::multiplicative ? "multiplicative" : "additive";
            },
            "'additive' or 'multiplicative', as chosen.")
        .def_property_readonly(
            "descramble", [](const PieceScrambler& s) { return s.request().descramble; },
            "Whether it descrambles.");
}

}  // namespace tapwell::python

// Ring: python. What every bind_*.cpp shares: the arguments as Python users
// write them (a polynomial as tapwell.Poly, int or str; a state as int or the
// window's binary text; sizes checked before anything is allocated), the
// library's long calls run so that Ctrl-C interrupts them, and the functions
// each area adds to the module. Uses the library's public interface and core's
// notations.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <thread>
#include <type_traits>

#include "tapwell/polynomial.hpp"
#include "tapwell/presets.hpp"
#include "tapwell/run_options.hpp"
#include "tapwell/streams.hpp"

namespace tapwell::python {

namespace py = pybind11;

// A polynomial given as a tapwell.Poly, an int (the coefficient word: bit k is
// the coefficient of x^k) or a str: in the named notation, or without one the
// window's binary text for 0s and 1s, algebraic with an x, hex after 0x.
// ValueError for a text or word that is no polynomial, TypeError for another
// type.
Polynomial polynomial_arg(py::handle value, const std::optional<std::string>& notation = std::nullopt);
// The coefficient word of a polynomial as a Python int (degree 64 needs 65 bits).
py::int_ coefficient_int(const Polynomial& p);
// A register's state: an int, or the window's initial value ("0001" is 1).
std::uint64_t state_arg(py::handle value);
// 'fibonacci' or 'galois'; ValueError naming both for another word.
RegisterForm form_named(const std::string& name);
const char* form_name(RegisterForm form);
// 'msb' or 'lsb': where the first bit of each byte goes.
BitOrder bit_order_named(const std::string& name);

// What a stream or a scrambler reads: a tapwell.Register, a tapwell.Preset
// (its registers summed, inverted where its standard says so) or a list of
// Registers (their outputs summed, as a Gold code). The preset is kept for
// what it adds: its code length, its kind of scrambler.
struct SourceArg {
    BitSource source;
    std::optional<Preset> preset;
};
SourceArg source_arg(py::handle value);

// `length` bits of the source from chip `skip` on as a new numpy array in
// tapwell.sequence's format ('bits', 'packed' or 'bipolar'), made with the
// GIL released and Ctrl-C heard; MemoryError before allocating it.
py::array stream_array(const BitSource& source, std::uint64_t skip, std::uint64_t length, const std::string& format,
                       BitOrder order);

// count items of itemsize bytes, or MemoryError in words before any of them is
// allocated: a size that overflows, or more than the machine's memory.
std::size_t checked_items(std::uint64_t count, std::size_t itemsize, const char* what);

// Runs work(options) on a thread of its own with the GIL released, the
// calling thread looking for signals every 20 ms: on Ctrl-C it asks the work
// to stop, waits for it and raises KeyboardInterrupt; the work's exceptions
// reach the caller. The work must not touch Python objects.
template <typename Work>
auto run_interruptible(int threads, Work work) -> decltype(work(RunOptions{})) {
    using Result = decltype(work(RunOptions{}));
    using Held = std::conditional_t<std::is_void_v<Result>, bool, std::optional<Result>>;
    std::stop_source source;
    RunOptions options;
    options.stop = source.get_token();
    options.threads = threads;
    Held result{};
    std::exception_ptr error;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool interrupted = false;
    {
        py::gil_scoped_release released;
        std::thread worker([&] {
            try {
                if constexpr (std::is_void_v<Result>) {
                    work(options);
                } else {
                    result.emplace(work(options));
                }
            } catch (...) {
                error = std::current_exception();
            }
            std::lock_guard lock(mutex);
            done = true;
            ended.notify_one();
        });
        std::unique_lock lock(mutex);
        while (!ended.wait_for(lock, std::chrono::milliseconds(20), [&] { return done; })) {
            lock.unlock();
            {
                py::gil_scoped_acquire held;
                if (PyErr_CheckSignals() != 0) interrupted = true;
            }
            lock.lock();
            if (interrupted) {
                source.request_stop();
                ended.wait(lock, [&] { return done; });
            }
        }
        lock.unlock();
        worker.join();
    }
    if (interrupted) throw py::error_already_set();
    if (error) std::rethrow_exception(error);
    if constexpr (!std::is_void_v<Result>) return std::move(*result);
}

// 0 -> +1, 1 -> -1 in place (the int8 view of the same bytes is then the
// +1/-1 sequence), asking the stop token between pieces.
void to_bipolar(std::span<std::uint8_t> bits, const RunOptions& options);

void bind_errors(py::module_& m);
void bind_polynomial(py::module_& m);
void bind_describe(py::module_& m);
void bind_search(py::module_& m);
void bind_sequences(py::module_& m);
void bind_correlation(py::module_& m);
void bind_pairs(py::module_& m);
void bind_recurrence(py::module_& m);
void bind_presets(py::module_& m);
void bind_families(py::module_& m);
void bind_registers(py::module_& m);
void bind_streams(py::module_& m);
void bind_scrambling(py::module_& m);

}  // namespace tapwell::python

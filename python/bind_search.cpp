// Ring: python. The primitive polynomials of a degree, lazily: the library's
// search runs on a thread of its own and hands its finds over through a
// queue of a few blocks, which Python's generator (tapwell.primitive_polys)
// empties; closing the generator or Ctrl-C stops the search.
#include <pybind11/stl.h>

#include <deque>
#include <vector>

#include "python/support.h"
#include "tapwell/errors.hpp"
#include "tapwell/search.hpp"

namespace tapwell::python {

namespace {

class PrimitiveStream {
public:
    PrimitiveStream(const PrimitiveSearch& search, int threads) {
        RunOptions options;
        options.stop = source_.get_token();
        options.threads = threads;
        worker_ = std::thread([this, search, options] { run(search, options); });
    }
    ~PrimitiveStream() { close(); }
    PrimitiveStream(const PrimitiveStream&) = delete;
    PrimitiveStream& operator=(const PrimitiveStream&) = delete;

    // The next run of finds; None at the end. Waits with the GIL released,
    // looking for Ctrl-C every 20 ms.
    py::object next_block() {
        std::vector<Polynomial> block;
        bool interrupted = false;
        {
            py::gil_scoped_release released;
            std::unique_lock lock(mutex_);
            while (!changed_.wait_for(lock, std::chrono::milliseconds(20), [&] { return !blocks_.empty() || done_; })) {
                lock.unlock();
                {
                    py::gil_scoped_acquire held;
                    interrupted = PyErr_CheckSignals() != 0;
                }
                lock.lock();
                if (interrupted) break;
            }
            if (!interrupted && !blocks_.empty()) {
                block = std::move(blocks_.front());
                blocks_.pop_front();
                changed_.notify_all();
            }
        }
        if (interrupted) {
            close();
            throw py::error_already_set();
        }
        if (!block.empty()) return py::cast(block);
        if (error_) {
            std::exception_ptr error = std::exchange(error_, nullptr);
            std::rethrow_exception(error);
        }
        return py::none();
    }

    // Stops the search and waits for its thread.
    void close() {
        if (!worker_.joinable()) return;
        source_.request_stop();
        {
            std::lock_guard lock(mutex_);
            changed_.notify_all();
        }
        py::gil_scoped_release released;
        worker_.join();
    }

private:
    // Blocks held at most; the search waits for the reader beyond them, so
    // that a slow reader does not hold a whole degree's finds.
    static constexpr std::size_t QUEUE_BLOCKS = 4;

    void run(const PrimitiveSearch& search, const RunOptions& options) {
        try {
            for_each_primitive(
                search,
                [&](std::span<const Polynomial> finds) {
                    std::unique_lock lock(mutex_);
                    changed_.wait(lock, [&] { return blocks_.size() < QUEUE_BLOCKS || options.stop.stop_requested(); });
                    if (options.stop.stop_requested()) return false;
                    blocks_.emplace_back(finds.begin(), finds.end());
                    changed_.notify_all();
                    return true;
                },
                options);
        } catch (const Stopped&) {
        } catch (...) {
            std::lock_guard lock(mutex_);
            error_ = std::current_exception();
        }
        std::lock_guard lock(mutex_);
        done_ = true;
        changed_.notify_all();
    }

    std::stop_source source_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<Polynomial>> blocks_;
    std::exception_ptr error_;
    bool done_ = false;
    std::thread worker_;
};

// [start, stop) of a degree as the library's search, which never tests its
// end; the library refuses a degree, an end or a number of terms it cannot
// search, in its own words. A search above degree 32 needs a stop, as the
// whole degree never ends.
PrimitiveSearch search_of(int degree, py::object start, py::object stop, int terms) {
    if (degree < 2 || degree > Polynomial::max_degree) {
        throw InvalidArgument("the primitive polynomials are enumerated for degrees 3 to 64, not " +
                              std::to_string(degree));
    }
    PrimitiveSearch search;
    search.from = start.is_none() ? Polynomial::from_value(std::uint64_t{1} << (degree - 1)) : polynomial_arg(start);
    if (search.from.degree() != degree) {
        throw InvalidArgument("start " + search.from.format(Notation::binary) + " is not of degree " +
                              std::to_string(degree));
    }
    if (!stop.is_none()) search.to = polynomial_arg(stop);
    search.terms = terms;
    return search;
}

}  // namespace

void bind_search(py::module_& m) {
    py::class_<PrimitiveStream>(m, "_PrimitiveStream")
        .def("next_block", &PrimitiveStream::next_block)
        .def("close", &PrimitiveStream::close);
    m.def(
        "_primitive_stream",
        [](int degree, py::object start, py::object stop, int terms, int threads) -> py::object {
            return py::cast(std::make_unique<PrimitiveStream>(search_of(degree, start, stop, terms), threads));
        },
        py::arg("degree"), py::arg("start") = py::none(), py::arg("stop") = py::none(), py::arg("terms") = 0,
        py::arg("threads") = 0);
    m.def(
        "primitive_poly", [](int degree) { return primitive_polynomial(degree); }, py::arg("degree"),
        "The first primitive polynomial of the degree (2 to 64) in the window's order: by increasing "
        "koopman value, x^n + 1 never among them.");
    m.def(
        "sparsest_primitive",
        [](int degree) { return run_interruptible(0, [&](const RunOptions&) { return sparsest_primitive_polynomial(degree); }); },
        py::arg("degree"),
        "The first primitive polynomial of the degree (2 to 64) among those of fewest terms, in the window's "
        "order: the first trinomial where the degree has a primitive one (x^31 + x^3 + 1), else the first "
        "pentanomial, and so on, as tapwell-cli primitive --min gives it.");
}

}  // namespace tapwell::python

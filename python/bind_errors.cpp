// Ring: python. The library's exceptions (tapwell/errors.hpp) as Python's, in
// one place: a text or a parameter refused is ValueError with the library's
// words, a stop is KeyboardInterrupt (only Ctrl-C asks for one).
#include "python/support.h"
#include "tapwell/errors.hpp"

namespace tapwell::python {

void bind_errors(py::module_&) {
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const ParseError& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const InvalidArgument& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const Stopped&) {
            PyErr_SetNone(PyExc_KeyboardInterrupt);
        } catch (const Error& e) {
            PyErr_SetString(PyExc_RuntimeError, e.what());
        } catch (const std::bad_alloc&) {
            PyErr_SetString(PyExc_MemoryError, "not enough memory for the result");
        }
    });
}

}  // namespace tapwell::python

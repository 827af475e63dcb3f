// Ring: python. The extension _tapwell: its version and each area's functions;
// the package tapwell (python/tapwell) re-exports them.
#include "python/support.h"
#include "tapwell/version.hpp"

PYBIND11_MODULE(_tapwell, m) {
    using namespace tapwell::python;
    m.doc() = "Binary shift-register sequences over GF(2): primitive polynomials, M-sequences, Gold codes, "
              "all-phase cross-correlation and preferred pairs. A polynomial's reference notation is the "
              "window's text: '10011' is x^4 + x + 1, the characteristic polynomial of the register's output.";
    m.attr("__version__") = std::string(tapwell::version());
    bind_errors(m);
    bind_polynomial(m);
    bind_describe(m);
    bind_search(m);
    bind_sequences(m);
    bind_correlation(m);
    bind_pairs(m);
    bind_recurrence(m);
    bind_registers(m);  // before the presets, whose register_objects are Registers
    bind_presets(m);
    bind_families(m);
    bind_streams(m);
    bind_scrambling(m);
}

// Ring: python. tapwell.gold_code, tapwell.kasami_code and
// tapwell.family_correlation over tapwell/families.hpp: codes written by the
// library straight into numpy arrays, and the report as the dict of
// tapwell-cli family --json's keys.
#include <pybind11/numpy.h>

#include <algorithm>

#include "core/mersenne.h"
#include "python/support.h"
#include "tapwell/errors.hpp"
#include "tapwell/families.hpp"

namespace tapwell::python {

namespace {

bool bipolar_output(const std::string& output) {
    if (output != "binary" && output != "bipolar") {
        throw InvalidArgument("output '" + output + "': the outputs are 'binary' (0/1) and 'bipolar' (+1/-1)");
    }
    return output == "bipolar";
}

// `length` chips (one period by default) written by fill into a new array.
template <typename Fill>
py::array code_array(int degree, std::optional<std::uint64_t> length, const std::string& output, Fill fill) {
    const bool bipolar = bipolar_output(output);
    const std::size_t count = checked_items(length ? *length : mersenne(degree), 1, "a code");
    const py::ssize_t size = static_cast<py::ssize_t>(count);
    py::array out = bipolar ? py::array(py::array_t<std::int8_t>(size)) : py::array(py::array_t<std::uint8_t>(size));
    const std::span<std::uint8_t> chips(static_cast<std::uint8_t*>(out.mutable_data()), count);
    run_interruptible(0, [&](const RunOptions& options) {
        fill(chips);
        if (bipolar) to_bipolar(chips, options);
    });
    return out;
}

KasamiSet kasami_set_named(const std::string& name) {
    if (name == "small") return KasamiSet::small;
    if (name == "large") return KasamiSet::large;
    throw InvalidArgument("set '" + name + "': the Kasami sets are 'small' and 'large'");
}

py::dict summary_dict(const CorrelationSummary& s) {
    py::dict cross, autocorrelation;
    // As tapwell-cli family --json: the magnitude, and the signed value.
    cross["value"] = s.cross.magnitude;
    cross["correlation"] = s.cross.value;
    cross["pair"] = py::make_tuple(s.cross.first, s.cross.second);
    cross["phase"] = s.cross.phase;
    autocorrelation["value"] = s.autocorrelation.magnitude;
    autocorrelation["correlation"] = s.autocorrelation.value;
    autocorrelation["code"] = s.autocorrelation.code;
    autocorrelation["phase"] = s.autocorrelation.phase;
    py::list histogram;
    for (const PairValue& v : s.histogram) {
        py::dict row;
        row["value"] = v.value;
        row["count"] = v.count;
        histogram.append(row);
    }
    py::dict d;
    d["peak_cross_correlation"] = cross;
    d["peak_autocorrelation"] = autocorrelation;
    d["histogram"] = histogram;
    return d;
}

py::dict report_of(py::object codes, bool odd, int threads) {
    // One C-contiguous row a code; int8 +1/-1 when any chip is negative.
    py::array raw = py::array::ensure(codes);
    if (!raw || raw.ndim() != 2) throw py::type_error("codes: a 2-D array-like, one code a row, all of one length");
    const std::size_t k = static_cast<std::size_t>(raw.shape(0)), n = static_cast<std::size_t>(raw.shape(1));
    const bool signed_chips = raw.dtype().kind() == 'i';
    FamilyCorrelationOptions options;
    options.odd = odd;
    FamilyReport report;
    if (signed_chips) {
        auto chips = py::array_t<std::int64_t, py::array::c_style | py::array::forcecast>::ensure(raw);
        const std::int64_t* data = chips.data();
        const bool bipolar = std::any_of(data, data + k * n, [](std::int64_t c) { return c < 0; });
        std::vector<std::int8_t> held(k * n);
        for (std::size_t i = 0; i < held.size(); ++i) {
            const std::int64_t c = data[i];
            if (bipolar ? (c != 1 && c != -1) : (c != 0 && c != 1)) {
                throw InvalidArgument("code " + std::to_string(i / n) + ", chip " + std::to_string(i % n) + " is " +
                                      std::to_string(c) + (bipolar ? ", not +1 or -1" : ", not 0 or 1"));
            }
            held[i] = static_cast<std::int8_t>(bipolar ? c : 1 - 2 * c);
        }
        run_interruptible(threads, [&](const RunOptions& run) {
            options.run = run;
            report = family_correlation(std::span<const std::int8_t>(held), n, options);
        });
    } else {
        auto chips = py::array_t<std::uint8_t, py::array::c_style | py::array::forcecast>::ensure(raw);
        const std::span<const std::uint8_t> view(chips.data(), k * n);
        run_interruptible(threads, [&](const RunOptions& run) {
            options.run = run;
            report = family_correlation(view, n, options);
        });
    }
    py::dict d = summary_dict(report.periodic);
    d["codes"] = report.codes;
    d["length"] = report.length;
    d["pairs"] = report.codes * (report.codes - 1) / 2;
    py::dict bound;
    bound["welch"] = report.welch_bound;
    d["bound"] = bound;
    if (report.odd) d["odd"] = summary_dict(*report.odd);
    return d;
}

}  // namespace

void bind_families(py::module_& m) {
    m.attr("GOLD_U") = GOLD_U;
    m.attr("GOLD_V") = GOLD_V;
    m.def(
        "gold_code",
        [](py::object u, py::object v, std::int64_t index, std::optional<std::uint64_t> length, std::uint64_t first_chip,
           const std::string& output) {
            const GoldPair pair{polynomial_arg(u), polynomial_arg(v)};
            return code_array(pair.u.degree(), length, output,
                              [&](std::span<std::uint8_t> chips) { gold_code(pair, index, chips, first_chip); });
        },
        py::arg("u"), py::arg("v"), py::arg("index"), py::arg("length") = py::none(), py::arg("first_chip") = 0,
        py::arg("output") = "binary",
        R"(A member of the Gold family of a preferred pair (u, v) of one degree (3 to 64).
index: GOLD_U (-2) for u's M-sequence, GOLD_V (-1) for v's, k = 0 .. 2^n - 2
for u + T^k v (v read k chips further on). Chip t is the register's output
at clock t from state 1. length: chips (default one period, 2^n - 1),
from chip first_chip on (any chip, reached by a jump). output: 'binary'
gives uint8 0/1, 'bipolar' int8 +1/-1 (0 -> +1).)");
    m.def(
        "kasami_code",
        [](py::object u, std::int64_t k, std::int64_t m_index, const std::string& set,
           std::optional<std::uint64_t> length, std::uint64_t first_chip, const std::string& output) {
            const Polynomial p = polynomial_arg(u);
            const KasamiSet which = kasami_set_named(set);
            return code_array(p.degree(), length, output, [&](std::span<std::uint8_t> chips) {
                kasami_code(which, p, KasamiIndex{k, m_index}, chips, first_chip);
            });
        },
        py::arg("u"), py::arg("k") = GOLD_U, py::arg("m") = -1, py::arg("set") = "small",
        py::arg("length") = py::none(), py::arg("first_chip") = 0, py::arg("output") = "binary",
        R"(A member of the Kasami set of a primitive u of even degree n: 'small'
(u + T^m w, w the decimation of u by 2^(n/2) + 1; 2^(n/2) codes, k = -2)
or 'large' (n = 2 mod 4: k selects u (-2), v (-1, the decimation by
2^(n/2+1) + 1) or u + T^k v, then + T^m w; m = -1 for no w). Chips,
length, first_chip and output as gold_code takes them.)");
    m.def("family_correlation", &report_of, py::arg("codes"), py::arg("odd") = false, py::arg("threads") = 0,
          R"(The exact worst case of a set of codes: a 2-D array-like, one code a row,
0/1 chips (or +1/-1, +1 for a 0 chip), all of one length N. Every pair
and every phase, by Fourier transforms on every core (threads= to choose).
A dict with the keys of tapwell-cli family --json: 'codes', 'length',
'pairs', 'peak_cross_correlation' {'value' (the magnitude), 'correlation'
(its sign kept), 'pair', 'phase'}, 'peak_autocorrelation' {'value',
'correlation', 'code', 'phase'} (out of phase), 'histogram' [{'value',
'count'}] over every unordered pair and phase, 'bound' {'welch'}, and 'odd'
(the same for the odd correlation) when odd=True. Values are the unnormalised
periodic correlation of the +1/-1 codes.)");
}

}  // namespace tapwell::python

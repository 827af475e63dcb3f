// Ring: cli. tapwell-cli family: the exact worst case of a set of codes (a
// Gold family, a Kasami set, presets or a file of codes): the peak periodic
// cross-correlation over every pair and phase and where it is, the peak
// out-of-phase autocorrelation, the histogram of every cross-correlation
// value, the odd correlation with --odd, and the bounds beside them
// (tapwell/families.hpp). The codes are built here, the report runs on a
// worker thread with Ctrl-C and a progress line.
#include <CLI/CLI.hpp>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/file_bytes.h"
#include "cli/job_runner.h"
#include "cli/json_writer.h"
#include "cli/notation_option.h"
#include "cli/progress_estimate.h"
#include "core/code_lines.h"
#include "jobs/job_control.h"
#include "library/poly_conversion.h"
#include "tapwell/errors.hpp"
#include "tapwell/families.hpp"
#include "tapwell/pairs.hpp"
#include "tapwell/presets.hpp"

namespace tapwell::cli {

namespace {

// A file of codes: a family of 2^10 codes of 2^20 chips at most, and a little over.
constexpr std::size_t CODES_FILE_LIMIT = std::size_t{1} << 31;

struct FamilyOptions {
    std::vector<std::string> gold;
    std::string kasami_small, kasami_large;
    std::vector<std::string> presets;
    std::string codes_path;
    std::optional<Notation> notation;
    bool odd = false;
    bool json = false;
    bool quiet = false;
    int threads = 0;
} options;

// The codes to report on, their names and what theory says of them.
struct CodeSet {
    std::vector<std::uint8_t> chips;
    std::size_t length = 0;
    std::vector<std::string> names;
    std::string source;
    std::optional<std::vector<std::int64_t>> known;  // the family's values
    std::string known_note;                           // why there are none
};

std::atomic<std::uint64_t> pairs_done{0}, pairs_total{0};
ProgressEstimate estimate;
std::chrono::steady_clock::time_point started;

std::string progress_text() {
    const std::uint64_t done = pairs_done.load(std::memory_order_relaxed);
    const std::uint64_t total = pairs_total.load(std::memory_order_relaxed);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const std::string suffix = progress_suffix(estimate, done, total, elapsed);
    return "family: " + std::to_string(done) + " of " + std::to_string(total) + " pairs" +
           (suffix.empty() ? "" : ", " + suffix);
}

bool read_argument(const std::string& text, const char* what, Polynomial& out) {
    PolyWord p;
    if (!read_polynomial_argument(text, options.notation.value_or(Notation::binary), what, p)) return false;
    out = polynomial_of_word(p);
    return true;
}

std::string text_of(const Polynomial& p) { return p.format(Notation::binary); }

// Whether the two are a preferred pair, where that can be computed (to degree 32).
bool preferred(const Polynomial& a, const Polynomial& b) {
    if (a.degree() != b.degree() || a.degree() > WINDOW_MAX_DEGREE || a.degree() < WINDOW_MIN_DEGREE) return false;
    if (!a.is_primitive() || !b.is_primitive()) return false;
    RunOptions run;
    run.threads = options.threads;
    return check_pair(a, b, run).preferred;
}

void gold_set(CodeSet& set, const Polynomial& a, const Polynomial& b) {
    const GoldPair pair{a, b};
    set.chips = gold_family(pair);
    set.length = (std::size_t{1} << a.degree()) - 1;
    for (std::int64_t k = GOLD_U; k < static_cast<std::int64_t>(set.length); ++k) set.names.push_back(std::to_string(k));
    set.source = "Gold family of " + text_of(a) + " and " + text_of(b) + " (-2: u, -1: v, k: u + T^k v)";
    if (preferred(a, b)) {
        set.known = gold_values(a.degree());
    } else {
        set.known_note = "A and B are not a preferred pair: no three values are known";
    }
}

void kasami_set(CodeSet& set, KasamiSet kind, const Polynomial& u) {
    set.chips = kasami_family(kind, u);
    set.length = (std::size_t{1} << u.degree()) - 1;
    const std::uint64_t size = kasami_set_size(kind, u.degree());
    for (std::uint64_t i = 0; i < size; ++i) {
        const KasamiIndex index = kasami_index(kind, u.degree(), i);
        set.names.push_back("(" + std::to_string(index.k) + "," + std::to_string(index.m) + ")");
    }
    set.source = std::string(kind == KasamiSet::small ? "small" : "large") + " Kasami set of " + text_of(u) +
                 " ((k,m): k -2 u, -1 v, k u + T^k v; m -1 none, m + T^m w)";
    set.known = kasami_values(kind, u.degree());
}

// Presets of the Gold mode whose registers are one preferred pair, each a
// whole period, are members of that pair's family and keep to its values.
void preset_set(CodeSet& set) {
    std::optional<GoldPair> pair;
    bool one_family = true;
    for (const std::string& name : options.presets) {
        const Preset& p = preset(name);
        std::vector<std::uint8_t> code = preset_code(p);
        if (!set.names.empty() && code.size() != set.length) {
            throw InvalidArgument("preset " + name + " has " + std::to_string(code.size()) + " chips and " +
                                  set.names[0] + " " + std::to_string(set.length) + ": the codes have one length");
        }
        set.length = code.size();
        set.chips.insert(set.chips.end(), code.begin(), code.end());
        set.names.push_back(name);
        // A code cut short of its period (BeiDou B1I) keeps to no family's values.
        const bool gold = p.mode == GenerationMode::gold && p.registers.size() == 2 && p.origin.code_length == 0;
        if (gold && !pair) pair = GoldPair{p.registers[0].polynomial, p.registers[1].polynomial};
        one_family = one_family && gold && pair && p.registers[0].polynomial == pair->u &&
                     p.registers[1].polynomial == pair->v;
    }
    set.source = "presets";
    if (one_family && pair && preferred(pair->u, pair->v)) {
        set.known = gold_values(pair->u.degree());
    } else {
        set.known_note = "the presets are not whole periods of one preferred pair's Gold family";
    }
}

// EXIT_DONE, or the status after a message.
int file_set(CodeSet& set) {
    std::string bytes, error;
    if (!read_file_bytes(options.codes_path, CODES_FILE_LIMIT, bytes, error)) {
        print_error(options.codes_path + ": " + error);
        return EXIT_USAGE;
    }
    if (bytes.size() > CODES_FILE_LIMIT) {
        print_error(options.codes_path + ": longer than " + std::to_string(CODES_FILE_LIMIT) + " bytes");
        return EXIT_USAGE;
    }
    CodeLines lines = read_code_lines(bytes);
    if (!lines.ok()) {
        print_error(options.codes_path + ": " + lines.error);
        return EXIT_USAGE;
    }
    set.chips = std::move(lines.chips);
    set.length = lines.length;
    for (std::size_t line : lines.lines) set.names.push_back("line " + std::to_string(line));
    set.source = options.codes_path;
    set.known_note = "codes of a file: no family values are known";
    return EXIT_DONE;
}

int build_set(CodeSet& set) {
    const int sources = (options.gold.empty() ? 0 : 1) + (options.kasami_small.empty() ? 0 : 1) +
                        (options.kasami_large.empty() ? 0 : 1) + (options.presets.empty() ? 0 : 1) +
                        (options.codes_path.empty() ? 0 : 1);
    if (sources != 1) {
        print_error("family takes one of --gold A B, --kasami-small P, --kasami-large P, --preset NAME "
                    "(repeated) or --codes FILE");
        return EXIT_USAGE;
    }
    try {
        if (!options.gold.empty()) {
            Polynomial a, b;
            if (!read_argument(options.gold[0], "A", a) || !read_argument(options.gold[1], "B", b)) return EXIT_USAGE;
            gold_set(set, a, b);
        } else if (!options.kasami_small.empty() || !options.kasami_large.empty()) {
            const bool small = !options.kasami_small.empty();
            Polynomial u;
            if (!read_argument(small ? options.kasami_small : options.kasami_large, "P", u)) return EXIT_USAGE;
            kasami_set(set, small ? KasamiSet::small : KasamiSet::large, u);
        } else if (!options.presets.empty()) {
            preset_set(set);
        } else {
            return file_set(set);
        }
    } catch (const InvalidArgument& e) {
        print_error(e.what());
        return EXIT_REJECTED;
    }
    return EXIT_DONE;
}

std::string signed_text(std::int64_t v) { return std::to_string(v); }

std::string histogram_line(const std::vector<PairValue>& histogram) {
    std::string line;
    for (const PairValue& v : histogram) {
        line += (line.empty() ? "" : ", ") + signed_text(v.value) + " x " + std::to_string(v.count);
    }
    return line;
}
std::string histogram_json(const std::vector<PairValue>& histogram) {
    JsonWriter json;
    json.begin_array();
    for (const PairValue& v : histogram) {
        json.begin_object().key("value").raw(signed_text(v.value)).key("count").number(v.count).end_object();
    }
    json.end_array();
    return json.text();
}

void add_summary(FactList& facts, const std::string& prefix, const CorrelationSummary& s, const CodeSet& set) {
    const CrossPeak& c = s.cross;
    const AutoPeak& a = s.autocorrelation;
    JsonWriter cross;
    cross.begin_object()
        .key("value").number(c.magnitude)
        .key("correlation").raw(signed_text(c.value))
        .key("pair").begin_array().number(c.first).number(c.second).end_array()
        .key("names").begin_array().string(set.names[c.first]).string(set.names[c.second]).end_array()
        .key("phase").number(c.phase)
        .end_object();
    facts.both(prefix + "peak_cross_correlation",
               std::to_string(c.magnitude) + " (r = " + signed_text(c.value) + ") between codes " +
                   std::to_string(c.first) + " (" + set.names[c.first] + ") and " + std::to_string(c.second) + " (" +
                   set.names[c.second] + ") at phase " + std::to_string(c.phase),
               cross.text());
    JsonWriter autocorrelation;
    autocorrelation.begin_object()
        .key("value").number(a.magnitude)
        .key("correlation").raw(signed_text(a.value))
        .key("code").number(a.code)
        .key("name").string(set.names[a.code])
        .key("phase").number(a.phase)
        .end_object();
    facts.both(prefix + "peak_autocorrelation",
               std::to_string(a.magnitude) + " (r = " + signed_text(a.value) + ") of code " + std::to_string(a.code) +
                   " (" + set.names[a.code] + ") at phase " + std::to_string(a.phase),
               autocorrelation.text());
    facts.both(prefix + "histogram", histogram_line(s.histogram), histogram_json(s.histogram));
}

bool keeps_to(const std::vector<PairValue>& histogram, const std::vector<std::int64_t>& values) {
    for (const PairValue& v : histogram) {
        bool known = false;
        for (std::int64_t k : values) known = known || k == v.value;
        if (!known) return false;
    }
    return true;
}

std::string fixed(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

int print_report(const CodeSet& set, const FamilyReport& report) {
    FactList facts;
    facts.number("codes", report.codes);
    facts.number("length", report.length);
    facts.text("source", set.source);
    facts.number("pairs", static_cast<std::uint64_t>(report.codes) * (report.codes - 1) / 2);
    add_summary(facts, "", report.periodic, set);
    // The bounds: Welch's for any codes, the family's values where known.
    JsonWriter bound;
    bound.begin_object().key("welch").raw(fixed(report.welch_bound));
    std::string line = "Welch " + fixed(report.welch_bound);
    if (set.known) {
        const std::vector<std::int64_t>& values = *set.known;
        const std::int64_t peak = std::max(values.back(), -values.front());
        bound.key("family_values").begin_array();
        std::string listed;
        for (std::int64_t v : values) {
            bound.raw(signed_text(v));
            listed += (listed.empty() ? "" : ", ") + signed_text(v);
        }
        const bool kept = keeps_to(report.periodic.histogram, values);
        bound.end_array().key("family_peak").number(static_cast<std::uint64_t>(peak)).key("within_family").boolean(kept);
        line += "; family values " + listed + " (peak " + std::to_string(peak) + "), " +
                (kept ? "every value among them" : "NOT every value among them");
    } else {
        bound.key("family_values").null();
        line += "; " + set.known_note;
    }
    bound.end_object();
    facts.both("bound", line, bound.text());
    if (report.odd) add_summary(facts, "odd_", *report.odd, set);
    std::string names;
    if (options.json) {
        JsonWriter list;
        list.begin_array();
        for (const std::string& name : set.names) list.string(name);
        list.end_array();
        facts.both("names", "", list.text());
    }
    return print_facts(facts, options.json);
}

int run_family() {
    CodeSet set;
    if (const int status = build_set(set); status != EXIT_DONE) return status;
    FamilyReport report;
    std::string refusal;
    pairs_done.store(0);
    pairs_total.store(0);
    estimate = {};
    started = std::chrono::steady_clock::now();
    const int status = run_console_task(
        [&] {
            FamilyCorrelationOptions request;
            request.odd = options.odd;
            request.run.threads = options.threads;
            request.run.stop = job_stop_token();
            request.run.progress = [](const Progress& p) {
                pairs_done.store(p.done, std::memory_order_relaxed);
                pairs_total.store(p.total, std::memory_order_relaxed);
            };
            try {
                report = family_correlation(std::span<const std::uint8_t>(set.chips), set.length, request);
            } catch (const InvalidArgument& e) {
                refusal = e.what();
                return EXIT_REJECTED;
            } catch (const Stopped&) {
                return EXIT_INTERRUPTED;
            }
            return EXIT_DONE;
        },
        progress_text, options.quiet);
    if (status == EXIT_REJECTED) print_error(refusal);
    if (status != EXIT_DONE) return status;
    return print_report(set, report);
}

}  // namespace

Command add_family_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "family", "The exact worst case of a set of codes: peak cross-correlation over every pair and phase, peak "
                  "out-of-phase autocorrelation, every value's count, beside Welch's bound and the family's values");
    app->add_option("--gold", options.gold, "The Gold family of the preferred pair A B (2^n + 1 codes)")
        ->expected(2)
        ->type_name("A B");
    app->add_option("--kasami-small", options.kasami_small, "The small Kasami set of the primitive P (even degree)")
        ->type_name("P");
    app->add_option("--kasami-large", options.kasami_large,
                    "The large Kasami set of the primitive P (degree 2 mod 4)")
        ->type_name("P");
    app->add_option("--preset", options.presets, "A preset's code (gps-ca-1 .. gps-ca-32); repeat for more")
        ->type_name("NAME");
    app->add_option("--codes", options.codes_path, "A file of codes: one a line, chips 0 and 1, one length")
        ->type_name("FILE");
    add_notation_option(*app, "--notation", options.notation,
                        "How A, B and P are written (default binary, the window's text: 10011 is x^4 + x + 1)");
    app->add_flag("--odd", options.odd, "The odd (data-modulated) correlation too");
    app->add_flag("--json", options.json, "The same facts as one JSON object");
    add_task_options(*app, options.quiet, options.threads);
    return {app, run_family};
}

}  // namespace tapwell::cli

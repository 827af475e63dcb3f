// Ring: cli. tapwell-cli check-pair: whether two primitive polynomials of
// one degree (3 to 32) are a preferred pair, with every correlation value over
// all phases and how many phases take it (jobs/pair_phases: one all-phase
// transform, in chunks above degree 28). The answer is an answer either way:
// exit status 0 whether the pair is preferred or not.
#include <CLI/CLI.hpp>

#include <map>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/job_runner.h"
#include "cli/json_writer.h"
#include "cli/notation_option.h"
#include "cli/pair_checks.h"
#include "tapwell/preferred_values.hpp"
#include "core/shift_register.h"
#include "jobs/job_control.h"
#include "library/pair_phases.h"

namespace tapwell::cli {

namespace {

struct CheckPairOptions {
    std::string a, b;
    std::optional<Notation> notation;
    bool json = false;
    bool quiet = false;
    int threads = 0;
} options;

SpectrumProgress progress;

std::string progress_text() {
    return "check-pair: chunk " + std::to_string(progress.chunks_done.load(std::memory_order_relaxed)) + " of " +
           std::to_string(progress.chunk_count.load(std::memory_order_relaxed)) + " transformed";
}

int run_check_pair() {
    const Notation notation = options.notation.value_or(Notation::binary);
    PolyWord a, b;
    if (!read_polynomial_argument(options.a, notation, "A", a) ||
        !read_polynomial_argument(options.b, notation, "B", b)) {
        return EXIT_USAGE;
    }
    if (!accept_degree(a, "A", WINDOW_MIN_DEGREE, WINDOW_MAX_DEGREE) ||
        !accept_degree(b, "B", WINDOW_MIN_DEGREE, WINDOW_MAX_DEGREE)) {
        return EXIT_REJECTED;
    }
    if (!accept_same_degree(a, b)) return EXIT_REJECTED;
    if (!accept_primitive(a, "A") || !accept_primitive(b, "B")) return EXIT_REJECTED;
    std::map<std::int64_t, std::uint64_t> counts;
    const int status = run_console_task(
        [&] {
            WorkerPool pool(pool_threads(options.threads), job_stop_token());
            spectrum_counts(pool, a.degree, taps_of(a), taps_of(b), counts, &progress);
            return EXIT_DONE;
        },
        progress_text, options.quiet);
    if (status != EXIT_DONE) return status;

    const PreferredValues preferred_set = preferred_values(a.degree);
    const std::int64_t t = preferred_set.t;
    bool preferred = true;
    std::string line;
    JsonWriter json;
    json.begin_array();
    for (const auto& [value, count] : counts) {
        preferred = preferred && preferred_set.contains(value);
        line += (line.empty() ? "" : ", ") + std::to_string(value) + " x " + std::to_string(count);
        json.begin_object().key("value").raw(std::to_string(value)).key("count").number(count).end_object();
    }
    json.end_array();
    FactList facts;
    facts.text("a", write_notation(a, Notation::binary));
    facts.text("b", write_notation(b, Notation::binary));
    facts.number("degree", static_cast<std::uint64_t>(a.degree));
    facts.flag("preferred", preferred);
    facts.list("preferred_values", {std::to_string(-t), "-1", std::to_string(t - 2)}, ", ");
    facts.both("values", line, json.text());
    return print_facts(facts, options.json);
}

}  // namespace

Command add_check_pair_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "check-pair", "Whether two primitive polynomials of one degree (3 to 32) are a preferred pair: every "
                      "correlation value over all phases with its count");
    app->add_option("A", options.a, "The first polynomial, in the notation of --notation")->required();
    app->add_option("B", options.b, "The second polynomial")->required();
    add_notation_option(*app, "--notation", options.notation,
                        "How A and B are written (default binary, the window's text: 10011 is x^4 + x + 1)");
    app->add_flag("--json", options.json, "The same facts as one JSON object");
    add_task_options(*app, options.quiet, options.threads);
    return {app, run_check_pair};
}

}  // namespace tapwell::cli

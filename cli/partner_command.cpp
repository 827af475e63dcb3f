// Ring: cli. tapwell-cli partner: the preferred partners of one primitive
// polynomial of degree 5 to 64 (jobs/partners), each with its decimation, its
// family and how it is known, in the window's notation; --json gives them as
// a list of objects.
#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/job_runner.h"
#include "cli/json_writer.h"
#include "cli/notation_option.h"
#include "cli/pair_checks.h"
#include "jobs/job_control.h"
#include "library/partners.h"

namespace tapwell::cli {

namespace {

// Partners are verified by default up to this degree, to 32 with --verify.
constexpr int VERIFY_DEFAULT_MAX_DEGREE = 28;
constexpr int PARTNER_MIN_DEGREE = 5;

struct PartnerOptions {
    std::string polynomial;
    std::optional<Notation> notation;
    bool exhaustive = false;
    bool verify = false;
    bool json = false;
    bool quiet = false;
    int threads = 0;
} options;

PartnerProgress progress;

std::string progress_text() {
    const std::uint64_t done = progress.done.load(std::memory_order_relaxed);
    const std::uint64_t total = progress.total.load(std::memory_order_relaxed);
    std::string text = "partner: " + std::to_string(done) + " of " + std::to_string(total);
    const std::uint32_t chunks = progress.spectrum.chunk_count.load(std::memory_order_relaxed);
    if (chunks > 1) {
        text += ", chunk " + std::to_string(progress.spectrum.chunks_done.load(std::memory_order_relaxed) + 1) +
                " of " + std::to_string(chunks);
    }
    return text;
}

std::string known_text(const FoundPartner& p) { return p.verified ? "verified" : "by theorem"; }

int print_partners(PolyWord f, const std::vector<FoundPartner>& partners, bool verify) {
    if (options.json) {
        JsonWriter json;
        json.begin_array();
        for (const FoundPartner& p : partners) {
            json.begin_object()
                .key("polynomial").string(write_notation(p.poly, Notation::binary))
                .key("decimation").number(p.decimation)
                .key("family").string(partner_family_name(p.family))
                .key("known").string(known_text(p))
                .end_object();
        }
        json.end_array();
        return print_json(json.text());
    }
    FactList facts;
    facts.text("polynomial", write_notation(f, Notation::binary));
    facts.number("degree", static_cast<std::uint64_t>(f.degree));
    facts.number("partners", partners.size());
    facts.text("complete", options.exhaustive
                               ? "yes: every decimation was examined"
                               : "no: the Gold and Kasami decimations and their inverses (--exhaustive examines "
                                 "every decimation, to degree 20)");
    facts.text("known", verify ? "verified: the correlation with POLY computed over all phases, three-valued"
                               : "by theorem: the correlation over all phases is not computed above degree " +
                                     std::to_string(options.verify ? PARTNER_VERIFY_MAX_DEGREE : VERIFY_DEFAULT_MAX_DEGREE));
    std::string lines;
    for (const FoundPartner& p : partners) {
        lines += (lines.empty() ? "" : "\n") + std::string("partner: ") + write_notation(p.poly, Notation::binary) +
                 " decimation=" + std::to_string(p.decimation) + " family=" + partner_family_name(p.family) +
                 " known=" + known_text(p);
    }
    return print_facts(facts, false, lines);
}

int run_partner() {
    PolyWord f;
    if (!read_polynomial_argument(options.polynomial, options.notation.value_or(Notation::binary), "POLY", f)) {
        return EXIT_USAGE;
    }
    if (!accept_degree(f, "POLY", PARTNER_MIN_DEGREE, MAX_POLYNOMIAL_DEGREE) || !accept_pair_degree(f, "POLY") ||
        !accept_primitive(f, "POLY")) {
        return EXIT_REJECTED;
    }
    if (options.exhaustive && f.degree > PARTNER_EXHAUSTIVE_MAX_DEGREE) {
        print_error("--exhaustive examines every decimation up to degree " +
                    std::to_string(PARTNER_EXHAUSTIVE_MAX_DEGREE) + "; POLY has degree " + std::to_string(f.degree));
        return EXIT_REJECTED;
    }
    if (options.verify && f.degree > PARTNER_VERIFY_MAX_DEGREE) {
        print_error("--verify computes all phases up to degree " + std::to_string(PARTNER_VERIFY_MAX_DEGREE) +
                    "; POLY has degree " + std::to_string(f.degree));
        return EXIT_REJECTED;
    }
    const bool verify = f.degree <= (options.verify ? PARTNER_VERIFY_MAX_DEGREE : VERIFY_DEFAULT_MAX_DEGREE);
    std::vector<FoundPartner> partners;
    PartnersEnd end = PartnersEnd::stopped;
    const int status = run_console_task(
        [&] {
            WorkerPool pool(pool_threads(options.threads), job_stop_token());
            end = find_partners(pool, f, options.exhaustive, verify, partners, &progress);
            return EXIT_DONE;
        },
        progress_text, options.quiet);
    if (status != EXIT_DONE) return status;
    if (end == PartnersEnd::refuted) {
        print_error("a partner by theorem did not keep to the three values over all phases; this is a fault of "
                    "tapwell-cli, please report it with POLY");
        return EXIT_USAGE;
    }
    return print_partners(f, partners, verify);
}

}  // namespace

Command add_partner_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "partner", "The preferred partners of a primitive polynomial of degree 5 to 64 (not divisible by 4): "
                   "decimation, family (Gold, Kasami) and whether verified or known by theorem");
    app->add_option("POLY", options.polynomial, "The polynomial, in the notation of --notation")->required();
    add_notation_option(*app, "--notation", options.notation,
                        "How POLY is written (default binary, the window's text: 10011 is x^4 + x + 1)");
    app->add_flag("--exhaustive", options.exhaustive,
                  "Examine every decimation, so that the list is complete (degrees up to 20)");
    app->add_flag("--verify", options.verify,
                  "Compute all phases of every partner up to degree 32 (by default up to 28), in chunks");
    app->add_flag("--json", options.json, "The partners as a JSON list of objects");
    add_task_options(*app, options.quiet, options.threads);
    return {app, run_partner};
}

}  // namespace tapwell::cli

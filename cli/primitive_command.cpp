// Ring: cli. tapwell-cli primitive --min DEGREE: the first primitive
// polynomial of the degree among those of fewest non-zero terms (what
// hardware wants: fewest XOR gates), as facts or --json.
#include <CLI/CLI.hpp>

#include <bit>
#include <string>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/job_runner.h"
#include "tapwell/errors.hpp"
#include "tapwell/search.hpp"

namespace tapwell::cli {

namespace {

struct PrimitiveOptions {
    int degree = 0;
    bool json = false;
} options;

int run_primitive() {
    Polynomial p;
    try {
        p = sparsest_primitive_polynomial(options.degree);
    } catch (const InvalidArgument& e) {
        print_error(std::string("--min: ") + e.what());
        return EXIT_REJECTED;
    }
    FactList facts;
    facts.text("polynomial", p.format());
    facts.text("algebraic", p.format(Notation::algebraic));
    facts.number("degree", static_cast<std::uint64_t>(p.degree()));
    facts.number("terms", static_cast<std::uint64_t>(std::popcount(p.value())) + 1);  // the constant term too
    facts.text("order", "first of the fewest terms in the window's order (increasing value)");
    return print_facts(facts, options.json);
}

}  // namespace

Command add_primitive_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "primitive", "The first primitive polynomial of a degree (2 to 64) among those of fewest terms: the first "
                     "trinomial when there is one, else the first pentanomial, ...");
    app->add_option("--min", options.degree, "The degree, 2 to 64")->required()->option_text("DEGREE");
    app->add_flag("--json", options.json, "The facts as one JSON object");
    return {app, run_primitive};
}

}  // namespace tapwell::cli

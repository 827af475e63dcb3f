// Ring: cli. tapwell-cli describe: the library's facts of one polynomial of
// degree 1 to 64 (library/description.h) as lines or as one JSON object.
#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <type_traits>
#include <variant>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/job_runner.h"
#include "cli/json_writer.h"
#include "cli/notation_option.h"
#include "library/description.h"
#include "library/poly_conversion.h"

namespace tapwell::cli {

namespace {

struct DescribeOptions {
    std::string polynomial;
    std::optional<Notation> notation;
    bool json = false;
} options;

std::string factor_line(const std::vector<DescribedFactor>& factors) {
    std::string line;
    for (const DescribedFactor& q : factors) {
        std::string item = q.algebraic;
        if (factors.size() != 1 || q.multiplicity != 1) item = "(" + item + ")";
        if (q.multiplicity > 1) item += "^" + std::to_string(q.multiplicity);
        line += (line.empty() ? "" : " ") + item;
    }
    return line;
}

void add_factors(FactList& facts, const std::string& key, const std::vector<DescribedFactor>& factors) {
    JsonWriter json;
    json.begin_array();
    for (const DescribedFactor& q : factors) {
        json.begin_object()
            .key("binary").string(q.binary)
            .key("algebraic").string(q.algebraic)
            .key("multiplicity").number(static_cast<std::uint64_t>(q.multiplicity))
            .end_object();
    }
    json.end_array();
    facts.both(key, factor_line(factors), json.text());
}

// Each kind of value as a line and as JSON.
void add_fact(FactList& facts, const DescribedFact& fact) {
    std::visit(
        [&](const auto& value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>) facts.text(fact.key, value);
            else if constexpr (std::is_same_v<T, std::uint64_t>) facts.number(fact.key, value);
            else if constexpr (std::is_same_v<T, bool>) facts.flag(fact.key, value);
            else if constexpr (std::is_same_v<T, std::vector<std::string>>) facts.list(fact.key, value, "; ");
            else add_factors(facts, fact.key, value);
        },
        fact.value);
}

int run_describe() {
    PolyWord p;
    if (!read_polynomial_argument(options.polynomial, options.notation.value_or(Notation::binary), "POLY", p)) {
        return EXIT_USAGE;
    }
    FactList facts;
    for (const DescribedFact& fact : describe_polynomial(polynomial_of_word(p))) add_fact(facts, fact);
    return print_facts(facts, options.json);
}

}  // namespace

Command add_describe_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "describe", "Describe one polynomial of degree 1 to 64: every notation, its reciprocal, factors, "
                    "primitivity, the order of x, the recurrence and the registers' first output bits");
    app->add_option("POLY", options.polynomial, "The polynomial, in the notation of --notation")->required();
    add_notation_option(*app, "--notation", options.notation,
                        "How POLY is written (default binary, the window's text: 10011 is x^4 + x + 1)");
    app->add_flag("--json", options.json, "The same facts as one JSON object");
    return {app, run_describe};
}

}  // namespace tapwell::cli

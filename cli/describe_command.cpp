// Ring: cli. tapwell-cli describe: one polynomial of degree 1 to 64 in every
// notation, with what it is as the window's register polynomial: its
// reciprocal (the connection polynomial, whose stages feed back), its
// factorisation, primitivity, the order of x, the recurrence, and the first
// output bits of the Fibonacci and the Galois register.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/job_runner.h"
#include "cli/json_writer.h"
#include "cli/notation_option.h"
#include "core/mersenne_factors.h"
#include "core/notation.h"
#include "core/poly_order.h"
#include "core/shift_register.h"

namespace tapwell::cli {

namespace {

struct DescribeOptions {
    std::string polynomial;
    std::optional<Notation> notation;
    bool json = false;
} options;

constexpr int OUTPUT_BITS = 32;

std::string algebraic(PolyWord p) { return write_notation(p, Notation::algebraic); }

std::string hex_text(std::uint64_t v) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(v));
    return buffer;
}

// s[t+n] = the sum of s[t+k] over the coefficients x^k below x^n.
std::string recurrence(PolyWord p) {
    std::string text = "s[t+" + std::to_string(p.degree) + "] =";
    bool first = true;
    for (int k = p.degree - 1; k >= 0; --k) {
        if (!coefficient(p, k)) continue;
        text += first ? " " : " + ";
        text += k == 0 ? std::string("s[t]") : "s[t+" + std::to_string(k) + "]";
        first = false;
    }
    return text;
}

// The stages of the register that feed back into stage 1, numbered from the
// input as the PRBS and navigation standards number them: x^k of the
// connection polynomial is stage k.
std::vector<std::string> feedback_stages(PolyWord connection) {
    std::vector<std::string> stages;
    for (int k = 1; k <= connection.degree; ++k) {
        if (coefficient(connection, k)) stages.push_back(std::to_string(k));
    }
    return stages;
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
    std::string text;
    for (const std::string& s : items) text += (text.empty() ? "" : separator) + s;
    return text;
}

std::string mersenne_text(int d) {
    std::string text = "2^" + std::to_string(d) + " - 1 = ";
    const MersenneFactors& f = mersenne_factors(d);
    if (f.count() == 0) return text + "1";
    for (int i = 0; i < f.count(); ++i) {
        if (i > 0) text += " * ";
        text += std::to_string(f.factors[i].prime);
        if (f.factors[i].exponent > 1) text += "^" + std::to_string(f.factors[i].exponent);
    }
    return text;
}

template <typename Step>
std::string output_bits(std::uint64_t state, Step step) {
    std::string bits;
    for (int i = 0; i < OUTPUT_BITS; ++i) {
        bits += (state & 1u) ? '1' : '0';
        state = step(state);
    }
    return bits;
}

void add_factors(FactList& facts, const PolynomialFacts& f) {
    std::vector<std::string> items;
    JsonWriter json;
    json.begin_array();
    for (const WordFactor& q : f.factors) {
        std::string item = "(" + algebraic(q.poly) + ")";
        if (q.multiplicity > 1) item += "^" + std::to_string(q.multiplicity);
        items.push_back(f.factors.size() == 1 && q.multiplicity == 1 ? algebraic(q.poly) : item);
        json.begin_object()
            .key("binary").string(write_notation(q.poly, Notation::binary))
            .key("algebraic").string(algebraic(q.poly))
            .key("multiplicity").number(static_cast<std::uint64_t>(q.multiplicity))
            .end_object();
    }
    json.end_array();
    facts.both("factors", joined(items, " "), json.text());
}

int run_describe() {
    PolyWord p;
    if (!read_polynomial_argument(options.polynomial, options.notation.value_or(Notation::binary), "POLY", p)) {
        return EXIT_USAGE;
    }
    const PolynomialFacts f = polynomial_facts(p);
    const PolyWord r = reciprocal(p);
    const std::string binary = write_notation(p, Notation::binary);
    const bool in_window = p.degree >= WINDOW_MIN_DEGREE && p.degree <= WINDOW_MAX_DEGREE;
    const std::string window = in_window ? "yes" : "no (it takes degrees 3 to 32)";

    FactList facts;
    facts.text("algebraic", algebraic(p));
    facts.number("degree", static_cast<std::uint64_t>(p.degree));
    facts.number("weight", static_cast<std::uint64_t>(std::popcount(p.value) + 1));
    for (Notation n : ALL_NOTATIONS) {
        if (n != Notation::algebraic) facts.text(notation_name(n), write_notation(p, n));
    }
    facts.text("reciprocal", write_notation(r, Notation::binary));
    facts.text("reciprocal_algebraic", algebraic(r));
    facts.text("characteristic_polynomial",
               algebraic(p) + " (" + binary + "): the characteristic polynomial of the output of the window's register " +
                   binary + ", the window's notation");
    const std::vector<std::string> stages = feedback_stages(r);
    const std::string feeding = (stages.size() == 1 ? "stage " : "stages ") + joined(stages, ", ") +
                                (stages.size() == 1 ? " feeds" : " feed");
    facts.text("connection_polynomial",
               algebraic(r) + " (" + write_notation(r, Notation::binary) + "): the connection polynomial of that register; " +
                   feeding + " back into stage 1 (stages numbered from the input, stage " + std::to_string(p.degree) +
                   " is the output)");
    facts.text("window_register", window);
    facts.flag("irreducible", f.irreducible);
    add_factors(facts, f);
    facts.flag("primitive", f.primitive);
    facts.number("order", f.order);
    facts.text("order_meaning", f.irreducible ? "the period of the register's sequence from every non-zero state"
                                              : "the period of the register's sequence from state 1; other non-zero "
                                                "states repeat with periods that divide it");
    std::vector<std::string> used;  // 2^d - 1 for each degree d of an irreducible factor
    for (const WordFactor& q : f.factors) {
        const std::string text = mersenne_text(q.poly.degree);
        if (used.empty() || used.back() != text) used.push_back(text);
    }
    facts.list("mersenne_factors", used, "; ");
    facts.text("recurrence", recurrence(p));
    const std::uint64_t top = top_of(p), taps = taps_of64(p.value, top);
    const std::uint64_t galois = galois_mask_of(taps, p.degree);
    facts.text("fibonacci_mask", hex_text(taps));
    facts.text("fibonacci_output", output_bits(1, [&](std::uint64_t s) { return register_step64(s, taps, top); }));
    facts.text("galois_mask", hex_text(galois));
    facts.text("galois_output", output_bits(1, [&](std::uint64_t s) { return galois_step64(s, galois); }));
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

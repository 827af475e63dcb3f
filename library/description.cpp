// Ring: library. See description.h: every notation, the reciprocal (the
// connection polynomial, whose stages feed back), the factorisation,
// primitivity, the order of x, the recurrence, and the first output bits of
// the Fibonacci and the Galois register.
#include "library/description.h"

#include <bit>
#include <cstdio>

#include "core/mersenne_factors.h"
#include "core/notation.h"
#include "core/poly_order.h"
#include "core/shift_register.h"
#include "library/poly_conversion.h"

namespace tapwell {

namespace {

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

}  // namespace

std::vector<DescribedFact> describe_polynomial(const Polynomial& polynomial) {
    const PolyWord p = word_of(polynomial);
    const PolynomialFacts f = polynomial_facts(p);
    const PolyWord r = reciprocal(p);
    const std::string binary = write_notation(p, Notation::binary);
    const bool in_window = p.degree >= WINDOW_MIN_DEGREE && p.degree <= WINDOW_MAX_DEGREE;

    std::vector<DescribedFact> facts;
    const auto add = [&facts](const char* key, FactValue value) { facts.push_back({key, std::move(value)}); };
    add("algebraic", algebraic(p));
    add("degree", static_cast<std::uint64_t>(p.degree));
    add("weight", static_cast<std::uint64_t>(std::popcount(p.value) + 1));
    for (Notation n : ALL_NOTATIONS) {
        if (n != Notation::algebraic) add(notation_name(n), write_notation(p, n));
    }
    add("reciprocal", write_notation(r, Notation::binary));
    add("reciprocal_algebraic", algebraic(r));
    add("characteristic_polynomial", algebraic(p) + " (" + binary +
                                         "): the characteristic polynomial of the output of the window's register " +
                                         binary + ", the window's notation");
    const std::vector<std::string> stages = feedback_stages(r);
    const std::string feeding = (stages.size() == 1 ? "stage " : "stages ") + joined(stages, ", ") +
                                (stages.size() == 1 ? " feeds" : " feed");
    add("connection_polynomial",
        algebraic(r) + " (" + write_notation(r, Notation::binary) + "): the connection polynomial of that register; " +
            feeding + " back into stage 1 (stages numbered from the input, stage " + std::to_string(p.degree) +
            " is the output)");
    add("window_register", std::string(in_window ? "yes" : "no (it takes degrees 3 to 32)"));
    add("irreducible", f.irreducible);
    std::vector<DescribedFactor> factors;
    for (const WordFactor& q : f.factors) {
        factors.push_back({write_notation(q.poly, Notation::binary), algebraic(q.poly), q.multiplicity});
    }
    add("factors", std::move(factors));
    add("primitive", f.primitive);
    add("order", f.order);
    add("order_meaning", std::string(f.irreducible ? "the period of the register's sequence from every non-zero state"
                                                   : "the period of the register's sequence from state 1; other "
                                                     "non-zero states repeat with periods that divide it"));
    std::vector<std::string> used;  // 2^d - 1 for each degree d of an irreducible factor
    for (const WordFactor& q : f.factors) {
        std::string text = mersenne_text(q.poly.degree);
        if (used.empty() || used.back() != text) used.push_back(std::move(text));
    }
    add("mersenne_factors", std::move(used));
    add("recurrence", recurrence(p));
    const std::uint64_t top = top_of(p), taps = taps_of64(p.value, top);
    const std::uint64_t galois = galois_mask_of(taps, p.degree);
    add("fibonacci_mask", hex_text(taps));
    add("fibonacci_output", output_bits(1, [&](std::uint64_t s) { return register_step64(s, taps, top); }));
    add("galois_mask", hex_text(galois));
    add("galois_output", output_bits(1, [&](std::uint64_t s) { return galois_step64(s, galois); }));
    return facts;
}

}  // namespace tapwell

// Ring: library. See tapwell/polynomial.hpp. Every reading, writing and fact
// is core's (notation, poly_order); this file only turns their refusals into
// exceptions and their words into public values.
#include "tapwell/polynomial.hpp"

#include <bit>

#include "core/notation.h"
#include "core/poly_order.h"
#include "core/primitivity_wide.h"
#include "library/poly_conversion.h"
#include "tapwell/errors.hpp"

namespace tapwell {

namespace {

// The polynomial 1 stands for "none yet": it has no factors and x has order 1
// modulo it, which core's facts (of degree 1 to 64) do not cover.
bool is_placeholder(const Polynomial& p) { return p.degree() == 0; }

}  // namespace

Notation notation_named(std::string_view name) {
    if (const std::optional<Notation> n = find_notation(name)) return *n;
    std::string known;
    for (std::size_t i = 0; i < std::size(ALL_NOTATIONS); ++i) {
        if (i > 0) known += i + 1 == std::size(ALL_NOTATIONS) ? " and " : ", ";
        known += notation_name(ALL_NOTATIONS[i]);
    }
    throw InvalidArgument("no notation named '" + std::string(name) + "'; the notations are " + known);
}

Polynomial Polynomial::parse(std::string_view text, Notation notation) {
    const NotationReading r = read_notation(text, notation);
    if (!r.ok()) throw ParseError(r.error, r.position);
    return {r.poly.value, r.poly.degree};
}

Polynomial Polynomial::from_value(std::uint64_t value) {
    if (value == 0) throw InvalidArgument("the value 0 is no polynomial (it would be 1, of degree 0)");
    return {value, static_cast<int>(std::bit_width(value))};
}

Polynomial Polynomial::from_coefficients(std::uint64_t word) {
    const NotationReading r = read_coefficient_word(word, 0);
    if (!r.ok()) throw InvalidArgument(r.error);
    return {r.poly.value, r.poly.degree};
}

std::string Polynomial::format(Notation notation) const { return write_notation(word_of(*this), notation); }

int Polynomial::weight() const noexcept { return std::popcount(value_) + 1; }

bool Polynomial::is_irreducible() const { return !is_placeholder(*this) && polynomial_facts(word_of(*this)).irreducible; }

// The order test alone, with the known primes of 2^n - 1: no factorisation.
bool Polynomial::is_primitive() const {
    if (degree() >= 2) return is_primitive_wide(value(), degree());
    return !is_placeholder(*this) && polynomial_facts(word_of(*this)).primitive;
}

std::uint64_t Polynomial::order() const { return is_placeholder(*this) ? 1 : polynomial_facts(word_of(*this)).order; }

std::vector<Factor> Polynomial::factors() const {
    std::vector<Factor> out;
    if (is_placeholder(*this)) return out;
    for (const WordFactor& f : factorize(word_of(*this))) out.push_back({polynomial_of_word(f.poly), f.multiplicity});
    return out;
}

Polynomial Polynomial::reciprocal() const {
    const PolyWord r = tapwell::reciprocal(word_of(*this));
    return {r.value, r.degree};
}

}  // namespace tapwell

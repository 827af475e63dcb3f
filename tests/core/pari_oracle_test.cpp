// Ring: tests. PARI/GP as the independent oracle above degree 32, where our
// own fast test does not reach: irreducibility, primitivity, the
// factorisation's degrees and multiplicities, and that the order of x we give
// is exactly it (x^order = 1 and x^(order/q) != 1 for every prime q of it).
// Needs gp (Debian's pari-gp, installed by scripts/test.sh); without it the
// test fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/gf2_poly.h"
#include "core/notation.h"
#include "core/poly_order.h"
#include "core/primitivity_wide.h"
#include "tests/reference/published_primitives.h"

namespace tapwell {
namespace {

std::string run_gp(const std::string& script_path) {
    const std::string command = "gp -q -f " + script_path + " </dev/null 2>&1";
    std::FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return {};
    std::string out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    pclose(p);
    return out;
}

std::string factor_shape(const std::vector<WordFactor>& factors) {
    std::vector<std::pair<int, int>> shape;
    for (const WordFactor& f : factors) shape.emplace_back(f.poly.degree, f.multiplicity);
    std::sort(shape.begin(), shape.end());
    std::string text;
    for (const auto& [d, e] : shape) text += std::to_string(d) + "^" + std::to_string(e) + ",";
    return text;
}

TEST(PariOracle, FactsAboveDegree32) {
    ASSERT_EQ(std::system("command -v gp >/dev/null 2>&1"), 0)
        << "gp (PARI/GP) is needed as the oracle: apt-get install pari-gp (scripts/test.sh installs it)";
    std::mt19937_64 rng(2024);
    std::vector<PolyWord> polys;
    for (int n = 33; n <= 64; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (int k = 0; k < 6; ++k) polys.push_back({top | (rng() & (top - 1)), n});
        // Until one irreducible of the degree is among them, so primitivity is asked too.
        for (int tries = 0; tries < 2000; ++tries) {
            const PolyWord p{top | (rng() & (top - 1)), n};
            if (polynomial_facts(p).irreducible) {
                polys.push_back(p);
                break;
            }
        }
        // Reducible with repeated factors: a * b^2.
        const int db = 1 + static_cast<int>(rng() % static_cast<unsigned>(n / 3));
        const PolyWord b = polynomial_of((std::uint64_t{1} << (db - 1)) | (rng() & ((std::uint64_t{1} << (db - 1)) - 1)));
        const int da = n - 2 * db;
        const PolyWord a = da == 0 ? PolyWord{0, 0}
                                     : polynomial_of((std::uint64_t{1} << (da - 1)) | (rng() & ((std::uint64_t{1} << (da - 1)) - 1)));
        polys.push_back(gf2::product(a, gf2::product(b, b)));
    }

    const std::string dir = ::testing::TempDir();
    const std::string script = dir + "/tapwell_oracle.gp";
    std::vector<PolynomialFacts> facts;
    {
        std::ofstream gp(script);
        gp << "check(w, o) = { my(f = Pol(binary(w)) * Mod(1, 2), n = poldegree(f), F = factormod(f, 2), "
              "irr = polisirreducible(f), prim = 0, ok, q, s = \"\");\n"
              "  if (irr, prim = (fforder(ffgen(f, 'a)) == 2^n - 1));\n"
              "  ok = (Mod(x, f)^o == 1); q = factor(o)[, 1];\n"
              "  for (i = 1, #q, if (Mod(x, f)^(o / q[i]) == 1, ok = 0));\n"
              "  my(v = vecsort(vector(#F~, i, [poldegree(F[i, 1]), F[i, 2]])));\n"
              "  for (i = 1, #v, s = concat(s, Str(v[i][1], \"^\", v[i][2], \",\")));\n"
              "  print(irr, \" \", prim, \" \", ok, \" \", s); }\n";
        for (const PolyWord& p : polys) {
            facts.push_back(polynomial_facts(p));
            gp << "check(" << write_notation(p, Notation::decimal) << ", " << facts.back().order << ");\n";
        }
    }
    std::istringstream out(run_gp(script));
    std::size_t irreducible = 0, primitive = 0;
    for (std::size_t i = 0; i < polys.size(); ++i) {
        int irr = -1, prim = -1, ok = -1;
        std::string shape;
        ASSERT_TRUE(out >> irr >> prim >> ok >> shape) << "gp gave no answer for entry " << i;
        const std::string name = write_notation(polys[i], Notation::algebraic);
        EXPECT_EQ(irr == 1, facts[i].irreducible) << name;
        EXPECT_EQ(prim == 1, facts[i].primitive) << name;
        EXPECT_EQ(ok, 1) << name << ": order " << facts[i].order;
        EXPECT_EQ(shape, factor_shape(facts[i].factors)) << name;
        irreducible += facts[i].irreducible;
        primitive += facts[i].primitive;
    }
    // The sample asks each question both ways.
    EXPECT_GE(irreducible, 32u);
    EXPECT_GT(primitive, 0u);
    EXPECT_LT(primitive, irreducible);
}

// The published lists above degree 32 primitive as gp's own order of a root
// says, and the 64-bit test's verdict as gp's on the first twelve odd-weight
// candidates after x^n + 1 of every degree 33 to 64, those the search tests
// first.
TEST(PariOracle, SearchesAboveDegree32) {
    ASSERT_EQ(std::system("command -v gp >/dev/null 2>&1"), 0) << "gp (PARI/GP) is needed as the oracle";
    std::vector<PolyWord> polys;
    for (std::uint64_t k : reference::KOOPMAN_64_FIRST_TEN) polys.push_back({k, 64});
    for (const std::vector<int>& taps : reference::TAPS_33_TO_64) polys.push_back({reference::value_of_taps(taps), taps[0]});
    for (int n = 33; n <= 64; ++n) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (std::uint64_t v = top + 1, taken = 0; taken < 12; ++v) {
            if (std::popcount(v) % 2 == 0) polys.push_back({v, n}), ++taken;
        }
    }
    const std::string script = ::testing::TempDir() + "/tapwell_search_oracle.gp";
    {
        std::ofstream gp(script);
        gp << "prim(w) = { my(f = Pol(binary(w)) * Mod(1, 2), n = poldegree(f));\n"
              "  print(polisirreducible(f) && fforder(ffgen(f, 'a)) == 2^n - 1); }\n";
        for (const PolyWord& p : polys) gp << "prim(" << write_notation(p, Notation::decimal) << ");\n";
    }
    std::istringstream out(run_gp(script));
    std::size_t primitive = 0;
    for (std::size_t i = 0; i < polys.size(); ++i) {
        int verdict = -1;
        ASSERT_TRUE(out >> verdict) << "gp gave no answer for entry " << i;
        const std::string name = write_notation(polys[i], Notation::algebraic);
        if (i < reference::KOOPMAN_64_FIRST_TEN.size() + reference::TAPS_33_TO_64.size()) EXPECT_EQ(verdict, 1) << name;
        EXPECT_EQ(is_primitive_wide(polys[i].value, polys[i].degree), verdict == 1) << name;
        primitive += verdict == 1;
    }
    EXPECT_LT(primitive, polys.size());
}

}  // namespace
}  // namespace tapwell

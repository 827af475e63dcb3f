// Ring: tests. The searches beyond the window's: the walk of candidates of K
// terms against filtering every candidate, the 64-bit search against the
// window's kernel, ranges that split a search, the published lists above
// degree 32, the sparsest primitive polynomial, and the refusals.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <stop_token>
#include <vector>

#include "library/primitive_search_wide.h"
#include "tapwell/tapwell.hpp"
#include "tests/reference/published_primitives.h"

namespace tapwell {
namespace {

Polynomial of(std::uint64_t v) { return Polynomial::from_value(v); }
Polynomial start_of(int n) { return of(std::uint64_t{1} << (n - 1)); }
int terms_of(const Polynomial& p) { return std::popcount(p.value()) + 1; }

class Collect final : public WidePrimitiveSink {
public:
    bool take(const WideFoundBlock& b) override {
        finds.insert(finds.end(), b.finds, b.finds + b.count);
        return true;
    }
    std::vector<std::uint64_t> finds;
};

TEST(CandidateWalk, NextCandidateOfTerms) {
    struct Case {
        std::uint64_t v;
        int n, terms;
        std::uint64_t expected;
    };
    const std::uint64_t top64 = std::uint64_t{1} << 63;
    const Case cases[] = {
        {0b10000, 5, 0, 0b10001},          // x^n + 1 is never a candidate
        {0b10000, 5, 3, 0b10001},          // x^5 + x + 1
        {0b10011, 5, 3, 0b10100},          // too many terms: on to x^5 + x^3 + 1
        {0b11000, 5, 3, 0b11000},
        {0b11001, 5, 3, 0},                // past the degree's last trinomial
        {0b10110, 5, 5, 0b10111},
        {0b11111, 5, 5, 0},
        {0b11111, 5, 6, 0b11111},          // every term
        {0b10000, 5, 2, 0},                // x^5 + 1 alone has two
        {0b1000, 5, 3, 0b10001},           // below the degree: its first
        {0b100000, 5, 3, 0},               // above it: none
        {top64 | 0b111, 64, 3, top64 | 0b1000},
        {~std::uint64_t{0}, 64, 3, 0},     // no wrap past x^64
        {~std::uint64_t{0}, 64, 0, ~std::uint64_t{0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(candidate_at_or_after(c.v, c.n, c.terms), c.expected) << c.v << " " << c.n << " " << c.terms;
    }
}

TEST(CandidateWalk, WalksExactlyTheValuesOfKTermsInOrder) {
    for (int n : {6, 11}) {
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (int terms = 3; terms <= n + 1; ++terms) {
            std::vector<std::uint64_t> walked, filtered;
            for (std::uint64_t v = candidate_at_or_after(top, n, terms); v != 0;
                 v = candidate_at_or_after(v + 1, n, terms)) {
                walked.push_back(v);
            }
            for (std::uint64_t v = top + 1; v < 2 * top; ++v) {
                if (std::popcount(v) + 1 == terms) filtered.push_back(v);
            }
            EXPECT_EQ(walked, filtered) << n << " " << terms;
        }
    }
}

TEST(WideSearch, TermsAreTheWholeDegreeFiltered) {
    for (int n : {9, 16, 21}) {
        const std::vector<Polynomial> whole = primitive_polynomials(n);
        for (int terms : {3, 5, 7}) {
            std::vector<Polynomial> expected;
            for (const Polynomial& p : whole) {
                if (terms_of(p) == terms) expected.push_back(p);
            }
            for (int threads : {1, 3}) {
                EXPECT_EQ(primitive_polynomials({start_of(n), 0, std::nullopt, terms}, {.threads = threads}), expected)
                    << n << " " << terms << " " << threads;
            }
        }
    }
}

TEST(WideSearch, SixtyFourBitWordsFindWhatTheWindowsKernelFinds) {
    for (int n : {7, 17}) {
        std::vector<std::uint64_t> expected;
        for (const Polynomial& p : primitive_polynomials(n)) expected.push_back(p.value());
        const std::uint64_t top = std::uint64_t{1} << (n - 1);
        for (int threads : {1, 2}) {
            Collect sink;
            EXPECT_EQ(search_primitives_wide({n, top, 2 * top - 1, 0, 0}, {{}, threads}, sink), RunEnd::complete);
            EXPECT_EQ(sink.finds, expected) << n;
        }
    }
}

TEST(WideSearch, RangesSplitASearchAndCountsEndIt) {
    std::mt19937_64 rng(40);
    struct Case {
        int n, terms;
        std::uint64_t span;
    };
    // Across several blocks of candidates, every candidate and a number of terms.
    for (const Case c : {Case{40, 0, 30000}, Case{64, 0, 20000}, Case{48, 5, std::uint64_t{1} << 20}, Case{18, 0, 90000}}) {
        const std::uint64_t top = std::uint64_t{1} << (c.n - 1);
        const std::uint64_t a = c.n == 18 || c.terms != 0 ? top : top | (rng() >> (65 - c.n)), cut = a + rng() % c.span, b = a + c.span;
        const std::vector<Polynomial> whole = primitive_polynomials({of(a), 0, of(b), c.terms});
        std::vector<Polynomial> both = primitive_polynomials({of(a), 0, of(cut), c.terms});
        const std::vector<Polynomial> rest = primitive_polynomials({of(cut), 0, of(b), c.terms});
        both.insert(both.end(), rest.begin(), rest.end());
        EXPECT_EQ(both, whole) << c.n;
        ASSERT_GT(whole.size(), 3u) << c.n;
        EXPECT_EQ(primitive_polynomials({of(a), 3, std::nullopt, c.terms}),
                  std::vector<Polynomial>(whole.begin(), whole.begin() + 3)) << c.n;
        // The end is never tested: a range ending at a find leaves it out.
        EXPECT_EQ(primitive_polynomials({of(a), 0, whole[2], c.terms}),
                  std::vector<Polynomial>(whole.begin(), whole.begin() + 2)) << c.n;
    }
    // x^(n+1) + 1 ends with the degree; from == to is empty.
    EXPECT_EQ(primitive_polynomials({start_of(12), 0, start_of(13)}), primitive_polynomials(12));
    EXPECT_TRUE(primitive_polynomials({start_of(40), 0, start_of(40)}).empty());
}

TEST(WideSearch, PublishedListsOfDegree64AndTheTapsTable) {
    std::vector<Polynomial> koopman;
    for (std::uint64_t k : reference::KOOPMAN_64_FIRST_TEN) koopman.push_back(of(k));
    EXPECT_EQ(primitive_polynomials({start_of(64), 10}), koopman);
    // The same list as written in his notation.
    EXPECT_EQ(Polynomial::parse("800000000000000D", Notation::koopman), koopman[0]);
    for (const std::vector<int>& taps : reference::TAPS_33_TO_64) {
        const Polynomial p = of(reference::value_of_taps(taps));
        EXPECT_TRUE(p.is_primitive()) << taps[0];
        // A search of its terms from it finds it first.
        const int terms = static_cast<int>(taps.size()) + 1;
        EXPECT_EQ(primitive_polynomials({p, 1, std::nullopt, terms}), std::vector<Polynomial>{p}) << taps[0];
    }
}

TEST(WideSearch, SparsestIsTheFirstOfFewestTerms) {
    struct Case {
        int degree;
        const char* expected;
    };
    const Case cases[] = {
        {2, "x^2 + x + 1"},  {3, "x^3 + x + 1"},  {8, "x^8 + x^4 + x^3 + x^2 + 1"},
        {31, "x^31 + x^3 + 1"}, {33, "x^33 + x^13 + 1"}, {64, "x^64 + x^4 + x^3 + x + 1"},
    };
    for (const Case& c : cases) EXPECT_EQ(sparsest_primitive_polynomial(c.degree).format(Notation::algebraic), c.expected);
    for (int n = 3; n <= 18; ++n) {
        const std::vector<Polynomial> whole = primitive_polynomials(n);
        const Polynomial* best = &whole[0];
        for (const Polynomial& p : whole) {
            if (terms_of(p) < terms_of(*best)) best = &p;
        }
        EXPECT_EQ(sparsest_primitive_polynomial(n), *best) << n;
    }
}

// The refusals' words are in Interface.RefusalsAreInWords (computations_test).
TEST(WideSearch, FewCandidatesAboveDegree32EndByThemselves) {
    // The 62 trinomials of degree 64, none of them primitive (64 is divisible by 8).
    EXPECT_TRUE(primitive_polynomials({start_of(64), 0, std::nullopt, 3}).empty());
    EXPECT_EQ(primitive_polynomials({start_of(33), 0, std::nullopt, 3}).size(), 2u);  // x^33 + x^13 + 1, x^33 + x^20 + 1
}

TEST(WideSearch, AStopRequestedThrowsStopped) {
    std::stop_source source;
    source.request_stop();
    EXPECT_THROW(primitive_polynomials({start_of(64), 1000000}, {.stop = source.get_token()}), Stopped);
}

}  // namespace
}  // namespace tapwell

// Ring: tests. The public search, generation, correlation and pair functions
// against the straightforward methods and against the window's jobs, and the
// conventions and refusals of their interface.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <stop_token>
#include <string>
#include <vector>

#include "jobs/job_control.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"
#include "tapwell/tapwell.hpp"
#include "tests/reference/helpers.h"
#include "tests/reference/order_walk.h"
#include "tests/reference/recording_front_end.h"
#include "tests/reference/stepping.h"

namespace tapwell {
namespace {

using testing::totient;

Polynomial parse(const char* text) { return Polynomial::parse(text); }
std::uint32_t value_of(const Polynomial& p) { return static_cast<std::uint32_t>(p.value()); }

// Random polynomials of degree n (top bit set), not necessarily primitive.
Polynomial random_of_degree(std::mt19937& rng, int n) {
    const std::uint64_t top = std::uint64_t{1} << (n - 1);
    return Polynomial::from_value(top | (rng() & (top - 1)));
}

TEST(PrimitiveSearch, EveryDegreeHasItsCountInIncreasingOrder) {
    for (int n = 3; n <= 16; ++n) {
        const std::vector<Polynomial> finds = primitive_polynomials(n);
        EXPECT_EQ(finds.size(), totient((std::uint64_t{1} << n) - 1) / static_cast<std::uint64_t>(n)) << n;
        for (std::size_t k = 0; k < finds.size(); ++k) {
            EXPECT_TRUE(finds[k].is_primitive()) << finds[k].format();
            if (k > 0) {
                EXPECT_LT(finds[k - 1], finds[k]);
            }
        }
    }
}

TEST(PrimitiveSearch, RangesSplitADegreeAndCountsEndIt) {
    const std::vector<Polynomial> whole = primitive_polynomials(18);
    // Split across the block size and inside one: the two halves are the whole.
    for (std::uint64_t middle : {std::uint64_t{0x30000}, std::uint64_t{0x2F123}}) {
        PrimitiveSearch low{Polynomial::from_value(1u << 17), 0, Polynomial::from_value(middle + 1)};
        PrimitiveSearch high{Polynomial::from_value(middle + 1)};
        std::vector<Polynomial> both = primitive_polynomials(low);
        const std::vector<Polynomial> rest = primitive_polynomials(high);
        both.insert(both.end(), rest.begin(), rest.end());
        EXPECT_EQ(both, whole) << middle;
    }
    for (std::uint64_t count : {1u, 70u, 5000u}) {
        const std::vector<Polynomial> first = primitive_polynomials({Polynomial::from_value(1u << 17), count});
        EXPECT_EQ(first, std::vector<Polynomial>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(count)));
    }
    // The caller ends it by returning false: no exception, nothing more.
    std::size_t blocks = 0;
    for_each_primitive({Polynomial::from_value(1u << 17)}, [&](std::span<const Polynomial>) { return ++blocks < 2; });
    EXPECT_EQ(blocks, 2u);
}

TEST(PrimitiveSearch, FirstOfEachDegreeMatchesTheSearch) {
    for (int n = 3; n <= 32; n += 29 / 4) {
        EXPECT_EQ(primitive_polynomial(n), primitive_polynomials({Polynomial::from_value(1ull << (n - 1)), 1})[0]) << n;
    }
    EXPECT_EQ(primitive_polynomial(2).format(), "111");
    EXPECT_TRUE(primitive_polynomial(64).is_primitive());
}

TEST(Interface, RefusalsAreInWords) {
    struct Case {
        std::function<void()> call;
        std::string words;
    };
    const Case cases[] = {
        {[] { primitive_polynomials(2); }, "degree 2: the search takes degrees 3 to 32"},
        {[] { primitive_polynomials({parse("11")}); }, "from: x + 1 has degree 1; this takes degrees 3 to 64"},
        {[] { primitive_polynomials({parse("100101"), 0, parse("100011")}); }, "to: x^5 + x + 1 is not"},
        {[] { correlate_all_phases(parse("100101"), parse("1000011")); },
         "A has degree 5 and B degree 6: the two of a pair have one degree"},
        {[] {
             std::vector<std::int64_t> r(30);
             correlate_all_phases(parse("100101"), parse("111101"), std::span<std::int64_t>(r));
         },
         "the values of degree 5 take an array of 31 (2^n - 1), not 30"},
        {[] { check_pair(parse("100101"), parse("100001")); }, "B: x^5 + 1 is not primitive"},
        {[] { partners(parse("10011")); }, "POLY: x^4 + x + 1 has degree 4; this takes degrees 5 to 64"},
        {[] { generate(Generation{GenerationMode::serial, 5, 1, {{parse("10011"), 1}}}); },
         "register 0 has degree 4, fewer stages than the width 5"},
        {[] { generate(Generation{GenerationMode::gold, 1, 1, {{parse("10011"), 1}}}); },
         "this generation takes 2 to 32 registers, not 1"},
        {[] { generate(Generation{GenerationMode::serial, 1, 1, {{parse("10011"), 16}}}); },
         "register 0: the state 16 is not one of degree 4"},
        // The searches beyond the window's.
        {[] { primitive_polynomials({parse("100000000000000000001"), 0, std::nullopt, 4}); }, "terms: 4 is even"},
        {[] { primitive_polynomials({parse("100000000000000000001"), 0, std::nullopt, 1}); },
         "terms: 1; a primitive polynomial of degree 20 has 3 to 21 non-zero terms"},
        {[] { primitive_polynomials({parse("100000000000000000001"), 0, std::nullopt, 23}); }, "terms: 23; a primitive"},
        {[] { primitive_polynomials({Polynomial::from_value(1ull << 32)}); },
         "a search of degree 33 to the end of the degree never ends"},
        {[] { primitive_polynomials({Polynomial::from_value(1ull << 63), 0, std::nullopt, 11}); },
         "a search of degree 64 to the end"},
        {[] { primitive_polynomials({Polynomial::from_value(1ull << 39), 0, Polynomial::from_value(1ull << 40)}); },
         "a search of degree 40 to the end"},
        {[] { primitive_polynomials({Polynomial::from_value(0x8000000001ull), 0, Polynomial::from_value(0x8000000000ull)}); },
         "to: x^40 + 1 is not"},
        {[] { primitive_polynomials({Polynomial::from_value(1ull << 39), 0, Polynomial::from_value(1ull << 41)}); },
         "to: x^42 + 1 is not"},
        {[] { sparsest_primitive_polynomial(1); }, "degree 1: sparsest_primitive_polynomial takes degrees 2 to 64"},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "accepted: " << c.words;
        } catch (const InvalidArgument& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, c.words.size()), c.words);
        }
    }
}

TEST(Interface, AStopRequestedThrowsStopped) {
    std::stop_source source;
    source.request_stop();
    const RunOptions stopped{source.get_token()};
    EXPECT_THROW(primitive_polynomials(20, stopped), Stopped);
    EXPECT_THROW(correlate_all_phases(parse("100000000000000001001"), parse("100000000000000001001"), stopped),
                 Stopped);
    EXPECT_THROW(preferred_pairs(primitive_polynomials(9), 0, stopped), Stopped);
    EXPECT_THROW(check_pair(parse("100000000000000001001"), parse("100000000000000001001"), stopped), Stopped);
}

TEST(Correlation, EveryPhaseAsSteppingGivesIt) {
    std::mt19937 rng(31);
    for (int n : {3, 5, 8, 11}) {
        for (int k = 0; k < 3; ++k) {
            const Polynomial a = random_of_degree(rng, n), b = random_of_degree(rng, n);
            const std::vector<std::int64_t> expected = reference::all_phases(n, value_of(a), value_of(b));
            EXPECT_EQ(correlate_all_phases(a, b), expected) << a.format() << " " << b.format();
            std::vector<std::int32_t> narrow(expected.size());
            correlate_all_phases(a, b, std::span<std::int32_t>(narrow), {.threads = 2});
            EXPECT_TRUE(std::equal(narrow.begin(), narrow.end(), expected.begin()));
        }
    }
}

TEST(Correlation, ProgressEndsAtTheWhole) {
    std::vector<Progress> seen;
    correlate_all_phases(parse("100000000000000001001"), parse("100000000000000001001"),
                         {.progress = [&](const Progress& p) { seen.push_back(p); }});
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().done, (1u << 20) - 1);
    EXPECT_EQ(seen.back().total, (1u << 20) - 1);
}

TEST(Pairs, PreferredPairsAreThePairsSteppingFinds) {
    for (int n : {5, 7, 9}) {
        const std::vector<Polynomial> list = primitive_polynomials(n);
        std::vector<IndexPair> expected;
        for (std::size_t i = 0; i < list.size(); ++i) {
            for (std::size_t j = i + 1; j < list.size(); ++j) {
                if (reference::preferred(value_of(list[i]), value_of(list[j]), n)) expected.push_back({i, j});
            }
        }
        EXPECT_EQ(preferred_pairs(list), expected) << n;
        EXPECT_EQ(preferred_pairs(list, 3), std::vector<IndexPair>(expected.begin(), expected.begin() + 3)) << n;
    }
}

TEST(Pairs, CheckPairAndPartnersAgree) {
    // Every partner of a degree-9 polynomial is a preferred pair by all its
    // phases, and the pair's three values are the preferred ones.
    const Polynomial f = primitive_polynomial(9);
    const std::vector<Partner> found = partners(f, {.exhaustive = true});
    ASSERT_FALSE(found.empty());
    for (const Partner& p : found) {
        const PairCheck check = check_pair(f, p.polynomial);
        EXPECT_TRUE(check.preferred) << p.polynomial.format();
        for (const PairValue& v : check.values) EXPECT_TRUE(preferred_values(9).contains(v.value)) << v.value;
    }
    const PairCheck self = check_pair(f, f);
    EXPECT_FALSE(self.preferred);
    EXPECT_EQ(self.t, 33);
}

// The public generation gives the values the window's job logs for the same
// registers, in every mode.
struct GenerationAgreement : testing::JobFixture {
    std::vector<std::uint32_t> logged(const Generation& g) {
        std::string list;
        for (const Register& r : g.registers) {
            std::string state;
            for (int k = r.polynomial.degree(); k-- > 0;) state += (r.state >> k & 1u) ? '1' : '0';
            list += r.polynomial.format() + "\r\n" + state + "\r\n";
        }
        const GenerationInput input = read_generation_input(std::to_string(g.width).c_str(),
                                                            std::to_string(g.count).c_str(), list,
                                                            static_cast<int>(g.mode), false);
        const std::size_t before = log_lines().size();
        EXPECT_EQ(run(testing::bound(run_generation, input), RUN_GENERATE), JobOutcome::finished);
        const std::vector<std::string> lines = log_lines();
        std::vector<std::uint32_t> values;
        for (std::size_t k = before; k < lines.size(); ++k) {
            if (!lines[k].empty() && lines[k][0] >= '0' && lines[k][0] <= '9') values.push_back(std::stoul(lines[k]));
        }
        return values;
    }
};

TEST(Generation, EveryModeGivesTheJobsValues) {
    GenerationAgreement fixture;
    std::mt19937 rng(5);
    for (GenerationMode mode : {GenerationMode::serial, GenerationMode::parallel, GenerationMode::gold}) {
        for (int width : {1, 3, 8}) {
            Generation g{mode, width, 5000, {}};
            const std::size_t registers = mode == GenerationMode::parallel ? 8 : 2;
            for (std::size_t k = 0; k < registers; ++k) {
                const Polynomial p = random_of_degree(rng, 8 + static_cast<int>(rng() % 20));
                g.registers.push_back({p, 1 + rng() % ((std::uint64_t{1} << p.degree()) - 1)});
            }
            EXPECT_EQ(generate(g), fixture.logged(g)) << static_cast<int>(mode) << " " << width;
        }
    }
}

}  // namespace
}  // namespace tapwell

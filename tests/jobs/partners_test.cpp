// Ring: tests. The pair classifier against stepping, in memory, in forced
// small chunks and with or without the first phases; the partners of every
// polynomial against the pair search's finds on full lists of degrees 5 to
// 14; and above degree 28 every partner of the stated family and primitive.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/decimation.h"
#include "core/notation.h"
#include "core/poly_text.h"
#include "core/poly_order.h"
#include "core/primitivity.h"
#include "library/pair_classifier.h"
#include "library/partners.h"
#include "jobs/preferred_pairs.h"
#include "jobs/shared_state.h"
#include "tests/reference/helpers.h"
#include "tests/reference/recording_front_end.h"
#include "tests/reference/stepping.h"

namespace tapwell {
namespace {

std::vector<std::uint32_t> full_list(int n) {
    std::vector<std::uint32_t> list(std::size_t{1} << (n - 1));
    list.resize(find_primitives(1u << (n - 1), (2u << (n - 1)) - 1u, n, list.data()));
    return list;
}

// Every pair's verdict, deciding each new coset alone.
std::vector<PairVerdict> classify_all(PairClassifier& c, const std::vector<std::uint32_t>& list, int n) {
    WorkerPool pool(2);
    const int chunk_bits = c.max_chunk_bits;
    const bool first_phases = c.first_phases;
    EXPECT_TRUE(prepare_pair_classifier(pool, c, list.data(), list.size(), n));
    c.max_chunk_bits = chunk_bits;
    c.first_phases = first_phases;
    std::vector<PairVerdict> verdicts;
    std::vector<CosetQuestion> batch;
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        for (std::size_t j = i + 1; j < list.size(); ++j) {
            const std::uint32_t q = pair_ratio(c, i, j);
            if (known_verdict(c, q) == PairVerdict::unknown) {
                batch.clear();
                ask_coset(c, i, j, batch);
                EXPECT_TRUE(decide_cosets(pool, c, batch));
            }
            verdicts.push_back(known_verdict(c, q));
        }
    }
    return verdicts;
}

// Stepping every pair against the classifier in memory, in chunks of 2^3
// values, and without the first phases (every coset then transformed).
TEST(PairClassifier, AgreesWithSteppingInMemoryAndInChunks) {
    struct Variant {
        int max_chunk_bits;
        bool first_phases;
    };
    const Variant variants[] = {{32, true}, {32, false}, {3, false}, {5, true}};
    for (int n = 3; n <= 9; ++n) {
        const std::vector<std::uint32_t> list = full_list(n);
        std::vector<PairVerdict> stepped;
        for (std::size_t i = 0; i + 1 < list.size(); ++i) {
            for (std::size_t j = i + 1; j < list.size(); ++j) {
                stepped.push_back(reference::preferred(list[i], list[j], n) ? PairVerdict::preferred
                                                                            : PairVerdict::not_preferred);
            }
        }
        for (const Variant& v : variants) {
            PairClassifier c;
            c.max_chunk_bits = v.max_chunk_bits;
            c.first_phases = v.first_phases;
            EXPECT_EQ(classify_all(c, list, n), stepped) << n << " " << v.max_chunk_bits << " " << v.first_phases;
        }
    }
}

// Degree 13 (630 cosets, first phases often all preferred): in chunks of 2^6
// as in memory, every coset met by the pairs of the first entry.
TEST(PairClassifier, ChunkedAndInMemoryAgreeAtDegree13) {
    const int n = 13;
    std::vector<std::uint32_t> list = full_list(n);
    list.resize(120);
    PairClassifier whole, chunked;
    whole.first_phases = false;
    chunked.first_phases = false;
    chunked.max_chunk_bits = 6;
    EXPECT_EQ(classify_all(whole, list, n), classify_all(chunked, list, n));
}

using PairSet = std::set<std::pair<std::uint32_t, std::uint32_t>>;

// The pair search's finds on a list, from its log.
PairSet searched_pairs(const std::vector<std::uint32_t>& list) {
    testing::JobFixture f;
    std::copy(list.begin(), list.end(), FoundList.begin());
    found_list_count = static_cast<std::uint32_t>(list.size());
    set_text_slot(SLOT_FIND_COUNT, "0");
    f.run(search_preferred_pairs, RUN_PAIR_SEARCH);
    PairSet pairs;
    const std::vector<std::string> lines = f.log_lines();
    for (std::size_t k = 1; k + 1 < lines.size(); ++k) {
        const std::size_t comma = lines[k].find(", ");
        const std::uint32_t a = parse_polynomial(lines[k].substr(0, comma));
        const std::uint32_t b = parse_polynomial(lines[k].substr(comma + 2));
        pairs.insert({std::min(a, b), std::max(a, b)});
    }
    return pairs;
}

std::set<std::uint32_t> partner_values(WorkerPool& pool, PolyWord f, bool exhaustive, bool family_only) {
    std::vector<FoundPartner> partners;
    EXPECT_EQ(find_partners(pool, f, exhaustive, true, partners), PartnersEnd::found);
    std::set<std::uint32_t> values;
    for (const FoundPartner& p : partners) {
        EXPECT_TRUE(p.verified);
        if (!family_only || p.family != PartnerFamily::other) values.insert(static_cast<std::uint32_t>(p.poly.value));
    }
    EXPECT_EQ(values.size(), family_only ? values.size() : partners.size()) << "each partner once";
    return values;
}

TEST(Partners, AgreeWithThePairSearchOnFullLists) {
    WorkerPool pool(2);
    std::mt19937 rng(7);
    for (int n : {5, 6, 7, 9, 10, 11, 13, 14}) {
        const std::vector<std::uint32_t> list = full_list(n);
        const PairSet searched = searched_pairs(list);
        // Every polynomial up to degree 10; a sample above.
        std::vector<std::uint32_t> sample = list;
        if (n > 10) {
            std::shuffle(sample.begin(), sample.end(), rng);
            sample.resize(12);
        }
        for (std::uint32_t f : sample) {
            std::set<std::uint32_t> expected;
            for (const auto& [a, b] : searched) {
                if (a == f) expected.insert(b);
                if (b == f) expected.insert(a);
            }
            const std::set<std::uint32_t> every = partner_values(pool, {f, n}, true, false);
            EXPECT_EQ(every, expected) << n << " " << f;
            const std::set<std::uint32_t> by_default = partner_values(pool, {f, n}, false, false);
            EXPECT_EQ(by_default, partner_values(pool, {f, n}, true, true)) << n << " " << f;
        }
    }
}

// The decimation d is of the family: its coset is that of 2^k + 1 or
// 2^(2k) - 2^k + 1 for a k of the gcd condition, or of an inverse of one.
bool of_family(std::uint64_t d, PartnerFamily family, int n) {
    for (int k = 1; 2 * k < n; ++k) {
        if (std::gcd(n, k) != (n % 2 != 0 ? 1 : 2)) continue;
        const std::uint64_t p = std::uint64_t{1} << k;
        const std::uint64_t e = family == PartnerFamily::gold ? p + 1 : p * p - p + 1;
        if (coset_leader(d, n) == coset_leader(e, n)) return true;
        if (coset_leader(mersenne_product(d, e, n), n) == 1) return true;
    }
    return false;
}

TEST(Partners, AboveDegree28OfTheirFamilyAndPrimitive) {
    WorkerPool pool(2);
    const char* polys[] = {"x^29 + x^2 + 1", "x^30 + x^6 + x^4 + x + 1", "x^31 + x^3 + 1",
                           "x^34 + x^27 + x^2 + x + 1", "x^47 + x^5 + 1", "x^62 + x^6 + x^5 + x^3 + 1",
                           "x^63 + x + 1"};
    for (const char* text : polys) {
        const PolyWord f = read_notation(text, Notation::algebraic).poly;
        ASSERT_TRUE(polynomial_facts(f).primitive) << text;
        std::vector<FoundPartner> partners;
        ASSERT_EQ(find_partners(pool, f, false, false, partners), PartnersEnd::found);
        EXPECT_EQ(partners.size(), preferred_family_decimations(f.degree).size()) << text;
        BerlekampMassey bm;
        for (const FoundPartner& p : partners) {
            EXPECT_FALSE(p.verified);
            EXPECT_NE(p.family, PartnerFamily::other);
            EXPECT_TRUE(of_family(p.decimation, p.family, f.degree)) << text << " d=" << p.decimation;
            EXPECT_TRUE(polynomial_facts(p.poly).primitive) << text << " d=" << p.decimation;
            EXPECT_EQ(decimation_polynomial(f, p.decimation, bm), p.poly);
        }
    }
}

// A reciprocal's partners are the reciprocals of the partners, by the same
// decimations: reversing both sequences keeps every correlation value.
TEST(Partners, OfTheReciprocal) {
    WorkerPool pool(2);
    for (const char* text : {"x^11 + x^2 + 1", "x^18 + x^7 + 1", "x^33 + x^13 + 1"}) {
        const PolyWord f = read_notation(text, Notation::algebraic).poly;
        std::vector<FoundPartner> of_f, of_reciprocal;
        ASSERT_EQ(find_partners(pool, f, false, false, of_f), PartnersEnd::found);
        ASSERT_EQ(find_partners(pool, reciprocal(f), false, false, of_reciprocal), PartnersEnd::found);
        std::set<std::pair<std::uint64_t, std::uint64_t>> expected, got;
        for (const FoundPartner& p : of_f) expected.insert({reciprocal(p.poly).value, p.decimation});
        for (const FoundPartner& p : of_reciprocal) got.insert({p.poly.value, p.decimation});
        EXPECT_EQ(got, expected) << text;
        for (const FoundPartner& p : of_f) EXPECT_NE(p.poly, reciprocal(f)) << text;
    }
}

}  // namespace
}  // namespace tapwell

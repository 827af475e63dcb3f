// Ring: tests. The pair classifier against stepping, in memory, in forced
// small chunks and with or without the first phases; the partners of every
// polynomial against the pair search's finds on full lists of degrees 5 to
// 14; and above degree 28 every partner of the stated family and primitive.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

// The classifier driven as the pair search drives it: pair after pair, the
// first undecided one asks for a batch of cosets from there on. Each coset
// is then asked for and decided once, in whichever batch meets it first, and
// its verdict is found again from every member of the coset: the ratio of a
// later pair may be any rotation of the one that was decided. A coset asked
// twice only costs time, and a rotation without the verdict only sends its
// pair to be stepped: neither shows in the search's finds.
TEST(PairClassifier, DecidesEachCosetOnceAndStoresItForEveryRotation) {
    struct Case {
        int n;
        std::size_t entries;  // the first ones of the full list
        std::size_t batch_limit;
    };
    const Case cases[] = {{5, 6, 1}, {7, 18, 4}, {9, 48, 64}, {10, 60, 7}, {11, 176, 64}, {13, 90, 64}};
    for (const Case& k : cases) {
        std::vector<std::uint32_t> list = full_list(k.n);
        ASSERT_GE(list.size(), k.entries) << k.n;
        list.resize(k.entries);
        WorkerPool pool(2);
        PairClassifier c;
        ASSERT_TRUE(prepare_pair_classifier(pool, c, list.data(), list.size(), k.n));
        ASSERT_FALSE(c.table.empty()) << k.n;
        std::map<std::uint64_t, int> asked;  // coset leader: times asked
        std::set<std::uint64_t> met;
        std::vector<CosetQuestion> batch;
        for (std::size_t i = 0; i + 1 < list.size(); ++i) {
            for (std::size_t j = i + 1; j < list.size(); ++j) {
                ASSERT_TRUE(classified(c, i, j));
                const std::uint32_t q = pair_ratio(c, i, j);
                met.insert(coset_leader(q, k.n));
                if (known_verdict(c, q) != PairVerdict::unknown) continue;
                ask_cosets_from(c, i, j, list.size(), k.batch_limit, batch);
                for (const CosetQuestion& question : batch) ++asked[coset_leader(question.q, k.n)];
                ASSERT_TRUE(decide_cosets(pool, c, batch));
                ASSERT_NE(known_verdict(c, q), PairVerdict::unknown) << k.n << " q=" << q;
            }
        }
        std::set<std::uint64_t> asked_leaders;
        std::size_t repeated = 0;
        for (const auto& [leader, times] : asked) {
            asked_leaders.insert(leader);
            if (times != 1) ++repeated;
        }
        EXPECT_EQ(repeated, 0u) << k.n << ": cosets asked for more than once";
        EXPECT_EQ(asked_leaders, met) << k.n;
        // Every ratio: the verdict of its coset when that was met, none otherwise.
        for (std::uint32_t q = 1; q < c.period; ++q) {
            const std::uint64_t leader = coset_leader(q, k.n);
            const PairVerdict v = known_verdict(c, q);
            if (met.count(leader) == 0) {
                ASSERT_EQ(v, PairVerdict::unknown) << k.n << " q=" << q;
            } else {
                ASSERT_NE(v, PairVerdict::unknown) << k.n << " q=" << q;
                ASSERT_EQ(v, known_verdict(c, static_cast<std::uint32_t>(leader))) << k.n << " q=" << q;
            }
        }
    }
}

// --exhaustive examines the cosets of the decimations coprime to 2^n - 1,
// one per primitive polynomial of the degree (phi(2^n - 1) / n of them: 60 at
// degree 10, of 1023 = 3 x 11 x 31), and its progress line counts them. A
// decimation with a factor in common with 2^n - 1 gives no M-sequence of
// degree n: examining its coset finds nothing and only costs time, which is
// why no list of partners shows it.
TEST(Partners, ExhaustiveExaminesTheCoprimeCosetsAndCountsThem) {
    struct Case {
        int n;
        std::uint64_t cosets;
    };
    const Case cases[] = {{5, 6}, {6, 6}, {7, 18}, {9, 48}, {10, 60}, {11, 176}};
    WorkerPool pool(2);
    for (const Case& k : cases) {
        const std::vector<std::uint32_t> list = full_list(k.n);
        ASSERT_EQ(list.size(), k.cosets) << k.n;
        const PolyWord f{list.back(), k.n};
        std::vector<FoundPartner> partners;
        {
            // Stopped before any coset is examined: the total shown is already the pass's.
            PartnerProgress progress;
            std::stop_source stop;
            stop.request_stop();
            WorkerPool stopped(2, stop.get_token());
            const PartnersEnd end = find_partners(stopped, f, true, true, partners, &progress);
            EXPECT_EQ(end, PartnersEnd::stopped) << k.n;
            EXPECT_EQ(progress.total.load(), k.cosets) << k.n;
            EXPECT_EQ(progress.done.load(), 0u) << k.n;
            EXPECT_EQ(progress.examined.load(), 0u) << k.n;
        }
        PartnerProgress progress;
        ASSERT_EQ(find_partners(pool, f, true, true, partners, &progress), PartnersEnd::found) << k.n;
        EXPECT_EQ(progress.examined.load(), k.cosets) << k.n;
        // Then the verifications, every one counted.
        EXPECT_EQ(progress.done.load(), progress.total.load()) << k.n;
        EXPECT_GE(progress.total.load(), partners.size()) << k.n;
    }
}

}  // namespace
}  // namespace tapwell

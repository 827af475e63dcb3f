// Ring: tests. Gold families and Kasami sets against their definitions by
// stepping, their correlations against the theorems' value sets, and the
// family report against a brute-force count over every pair and phase.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <stop_token>
#include <string>
#include <vector>

#include "tapwell/errors.hpp"
#include "tapwell/families.hpp"
#include "tapwell/pairs.hpp"
#include "tapwell/presets.hpp"
#include "tapwell/search.hpp"
#include "tapwell/sequences.hpp"

namespace tapwell {
namespace {

using Chips = std::vector<std::uint8_t>;

Chips stepped(Polynomial p, std::size_t count) { return register_bits(Register{p, 1}, count); }

// a_(t + k mod N) for t = 0 .. N - 1.
Chips shifted(const Chips& a, std::uint64_t k) {
    Chips out(a.size());
    for (std::size_t t = 0; t < a.size(); ++t) out[t] = a[(t + k) % a.size()];
    return out;
}
Chips sum(const Chips& a, const Chips& b) {
    Chips out(a.size());
    for (std::size_t t = 0; t < a.size(); ++t) out[t] = a[t] ^ b[t];
    return out;
}
// u_(d t mod N), one period.
Chips decimated(const Chips& u, std::uint64_t d) {
    Chips out(u.size());
    for (std::size_t t = 0; t < u.size(); ++t) out[t] = u[(d * t) % u.size()];
    return out;
}

// A preferred pair of degree n: the first primitive polynomial and its first partner.
GoldPair preferred_pair(int n) {
    const Polynomial u = primitive_polynomials(PrimitiveSearch{Polynomial::from_value(std::uint64_t{1} << (n - 1)), 1})[0];
    return {u, partners(u)[0].polynomial};
}
Polynomial first_primitive(int n) {
    return primitive_polynomials(PrimitiveSearch{Polynomial::from_value(std::uint64_t{1} << (n - 1)), 1})[0];
}

Chips concatenated(const std::vector<Chips>& codes) {
    Chips all;
    for (const Chips& c : codes) all.insert(all.end(), c.begin(), c.end());
    return all;
}

std::vector<std::int64_t> values_of(const std::vector<PairValue>& histogram) {
    std::vector<std::int64_t> values;
    for (const PairValue& v : histogram) values.push_back(v.value);
    return values;
}
std::uint64_t total_of(const std::vector<PairValue>& histogram) {
    std::uint64_t total = 0;
    for (const PairValue& v : histogram) total += v.count;
    return total;
}

TEST(GoldFamily, EveryMemberIsItsDefinition) {
    for (int n : {5, 6, 7}) {
        const GoldPair pair = preferred_pair(n);
        const std::size_t length = (std::size_t{1} << n) - 1;
        const Chips u = stepped(pair.u, length), v = stepped(pair.v, length);
        const Chips family = gold_family(pair);
        ASSERT_EQ(family.size(), (length + 2) * length);
        for (std::int64_t index = GOLD_U; index < static_cast<std::int64_t>(length); ++index) {
            const Chips expected = index == GOLD_U ? u : index == GOLD_V ? v : sum(u, shifted(v, static_cast<std::uint64_t>(index)));
            const auto at = family.begin() + static_cast<std::ptrdiff_t>((index + 2) * static_cast<std::int64_t>(length));
            ASSERT_EQ(Chips(at, at + static_cast<std::ptrdiff_t>(length)), expected) << n << " " << index;
            ASSERT_EQ(gold_code(pair, index), expected) << n << " " << index;
        }
    }
}

TEST(GoldFamily, ChipsFromAnyPositionAtAnyDegreeAreTheSteppedOnes) {
    // Degree 64 only by jumps; the stepped reference reads the first chips.
    const Polynomial high = Polynomial::parse("x^64 + x^4 + x^3 + x + 1", Notation::algebraic);
    ASSERT_TRUE(high.is_primitive());
    struct Case {
        GoldPair pair;
        std::int64_t index;
        std::uint64_t first;
    };
    const GoldPair low = preferred_pair(9);
    const Case cases[] = {
        {low, 17, 500}, {low, 510, 200}, {low, GOLD_V, 511 * 3 + 7}, {{high, high}, GOLD_U, 3000}, {{high, high}, 123, 77},
    };
    for (const Case& c : cases) {
        const std::size_t span = 400;
        Chips expected(span);
        const std::uint64_t reach = c.first + span + static_cast<std::uint64_t>(std::max<std::int64_t>(c.index, 0));
        const Chips u = stepped(c.pair.u, reach), v = stepped(c.pair.v, reach);
        const std::uint64_t period = c.pair.u.degree() >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << c.pair.u.degree()) - 1;
        for (std::size_t i = 0; i < span; ++i) {
            const std::uint64_t t = (c.first + i) % period;
            const std::uint64_t k = c.index >= 0 ? static_cast<std::uint64_t>(c.index) : 0;
            expected[i] = c.index == GOLD_V ? v[t] : c.index == GOLD_U ? u[t] : u[t] ^ v[(t + k) % period];
        }
        Chips chips(span);
        gold_code(c.pair, c.index, chips, c.first);
        EXPECT_EQ(chips, expected) << c.pair.u.degree() << " " << c.index << " " << c.first;
    }
}

TEST(KasamiSets, EveryMemberIsItsDefinition) {
    struct Case {
        KasamiSet set;
        int n;
    };
    for (const Case c : {Case{KasamiSet::small, 6}, Case{KasamiSet::small, 8}, Case{KasamiSet::large, 6}}) {
        const Polynomial poly = first_primitive(c.n);
        const std::size_t length = (std::size_t{1} << c.n) - 1;
        const Chips u = stepped(poly, length);
        const Chips w = decimated(u, (std::uint64_t{1} << (c.n / 2)) + 1);
        const Chips v = decimated(u, (std::uint64_t{1} << (c.n / 2 + 1)) + 1);
        const std::uint64_t size = kasami_set_size(c.set, c.n);
        EXPECT_EQ(size, c.set == KasamiSet::small ? 1u << (c.n / 2) : ((1u << c.n) + 1) << (c.n / 2));
        const Chips family = kasami_family(c.set, poly);
        ASSERT_EQ(family.size(), size * length);
        for (std::uint64_t i = 0; i < size; ++i) {
            const KasamiIndex index = kasami_index(c.set, c.n, i);
            Chips expected = index.k == GOLD_U ? u : index.k == GOLD_V ? v : sum(u, shifted(v, static_cast<std::uint64_t>(index.k)));
            if (index.m >= 0) expected = sum(expected, shifted(w, static_cast<std::uint64_t>(index.m)));
            const auto at = family.begin() + static_cast<std::ptrdiff_t>(i * length);
            ASSERT_EQ(Chips(at, at + static_cast<std::ptrdiff_t>(length)), expected) << c.n << " code " << i;
            if (i % 37 == 0) {
                ASSERT_EQ(kasami_code(c.set, poly, index), expected) << c.n << " code " << i;
            }
        }
    }
}

// The theorems: every cross-correlation and out-of-phase autocorrelation of
// the family lies in its value set; a whole family takes every value.
TEST(FamilyValues, KeepToTheTheoremsAtDegreesFiveToTwelve) {
    struct Case {
        const char* name;
        int n;
        std::vector<std::int64_t> values;
        Chips chips;
        bool whole;
    };
    std::vector<Case> cases;
    for (int n : {5, 6, 7}) cases.push_back({"gold", n, gold_values(n), gold_family(preferred_pair(n)), true});
    for (int n : {9, 10, 11}) {
        // 40 members of the larger families: u, v and shifts spread over the period.
        const GoldPair pair = preferred_pair(n);
        std::vector<Chips> some = {gold_code(pair, GOLD_U), gold_code(pair, GOLD_V)};
        for (std::int64_t k = 0; k < 38; ++k) some.push_back(gold_code(pair, k * 53 % ((1 << n) - 1)));
        cases.push_back({"gold", n, gold_values(n), concatenated(some), false});
    }
    for (int n : {6, 8, 10, 12}) {
        cases.push_back({"kasami small", n, kasami_values(KasamiSet::small, n),
                         kasami_family(KasamiSet::small, first_primitive(n)), n <= 8});
    }
    cases.push_back({"kasami large", 6, kasami_values(KasamiSet::large, 6),
                     kasami_family(KasamiSet::large, first_primitive(6)), true});
    {
        const Polynomial u = first_primitive(10);
        std::vector<Chips> some;
        for (std::uint64_t i = 0; i < kasami_set_size(KasamiSet::large, 10); i += 997) {
            some.push_back(kasami_code(KasamiSet::large, u, kasami_index(KasamiSet::large, 10, i)));
        }
        cases.push_back({"kasami large", 10, kasami_values(KasamiSet::large, 10), concatenated(some), false});
    }
    for (const Case& c : cases) {
        const std::size_t length = (std::size_t{1} << c.n) - 1;
        const FamilyReport report = family_correlation(std::span<const std::uint8_t>(c.chips), length);
        const std::vector<std::int64_t> seen = values_of(report.periodic.histogram);
        for (std::int64_t v : seen) {
            EXPECT_TRUE(std::find(c.values.begin(), c.values.end(), v) != c.values.end())
                << c.name << " " << c.n << ": value " << v;
        }
        if (c.whole) {
            EXPECT_EQ(seen, c.values) << c.name << " " << c.n;
        }
        const std::int64_t peak = c.values.back() > -c.values.front() ? c.values.back() : -c.values.front();
        EXPECT_EQ(report.periodic.cross.magnitude, static_cast<std::uint64_t>(peak)) << c.name << " " << c.n;
        EXPECT_LE(report.periodic.autocorrelation.magnitude, static_cast<std::uint64_t>(peak)) << c.name << " " << c.n;
        EXPECT_EQ(total_of(report.periodic.histogram), report.codes * (report.codes - 1) / 2 * length);
    }
}

// Every pair (first < second) and phase, the straightforward way.
struct Brute {
    std::map<std::int64_t, std::uint64_t> periodic, odd;
    CrossPeak cross, odd_cross;
    AutoPeak autocorrelation, odd_auto;
    bool any_auto = false, any_cross = false;
};
Brute brute_force(const std::vector<Chips>& codes) {
    Brute b;
    const std::size_t n = codes[0].size();
    const auto sign = [](std::uint8_t chip) { return chip ? -1 : 1; };
    for (std::size_t i = 0; i < codes.size(); ++i) {
        for (std::size_t j = i; j < codes.size(); ++j) {
            for (std::size_t tau = 0; tau < n; ++tau) {
                std::int64_t even = 0, odd = 0;
                for (std::size_t t = 0; t < n; ++t) {
                    const int term = sign(codes[i][t]) * sign(codes[j][(t + tau) % n]);
                    even += term;
                    odd += t + tau < n ? term : -term;
                }
                const auto magnitude = [](std::int64_t v) { return static_cast<std::uint64_t>(v < 0 ? -v : v); };
                if (i == j) {
                    if (tau == 0) continue;
                    if (!b.any_auto || magnitude(even) > b.autocorrelation.magnitude) {
                        b.autocorrelation = {magnitude(even), even, i, tau};
                    }
                    if (!b.any_auto || magnitude(odd) > b.odd_auto.magnitude) b.odd_auto = {magnitude(odd), odd, i, tau};
                    b.any_auto = true;
                    continue;
                }
                ++b.periodic[even];
                ++b.odd[odd];
                if (!b.any_cross || magnitude(even) > b.cross.magnitude) b.cross = {magnitude(even), even, i, j, tau};
                if (!b.any_cross || magnitude(odd) > b.odd_cross.magnitude) {
                    b.odd_cross = {magnitude(odd), odd, i, j, tau};
                }
                b.any_cross = true;
            }
        }
    }
    return b;
}

void expect_summary(const CorrelationSummary& s, const std::map<std::int64_t, std::uint64_t>& histogram,
                    const CrossPeak& cross, const AutoPeak& autocorrelation, const std::string& what) {
    std::vector<PairValue> expected;
    for (const auto& [value, count] : histogram) expected.push_back({value, count});
    EXPECT_EQ(s.histogram.size(), expected.size()) << what;
    for (std::size_t k = 0; k < std::min(s.histogram.size(), expected.size()); ++k) {
        EXPECT_EQ(s.histogram[k].value, expected[k].value) << what;
        EXPECT_EQ(s.histogram[k].count, expected[k].count) << what << " value " << expected[k].value;
    }
    EXPECT_EQ(s.cross.magnitude, cross.magnitude) << what;
    EXPECT_EQ(s.cross.value, cross.value) << what;
    EXPECT_EQ(s.cross.first, cross.first) << what;
    EXPECT_EQ(s.cross.second, cross.second) << what;
    EXPECT_EQ(s.cross.phase, cross.phase) << what;
    EXPECT_EQ(s.autocorrelation.magnitude, autocorrelation.magnitude) << what;
    EXPECT_EQ(s.autocorrelation.value, autocorrelation.value) << what;
    EXPECT_EQ(s.autocorrelation.code, autocorrelation.code) << what;
    EXPECT_EQ(s.autocorrelation.phase, autocorrelation.phase) << what;
}

TEST(FamilyCorrelation, AgreesWithABruteForceCountForAnyCodesAndThreads) {
    std::mt19937 rng(21);
    struct Case {
        std::size_t codes, length;
        int threads;
    };
    // 30 codes of 600 chips are more than one tile of the report's blocks of codes.
    for (const Case c : {Case{2, 2, 1}, Case{5, 31, 1}, Case{7, 12, 2}, Case{9, 100, 3}, Case{4, 257, 0}, Case{30, 600, 2}}) {
        std::vector<Chips> codes(c.codes, Chips(c.length));
        for (Chips& code : codes) {
            for (std::uint8_t& chip : code) chip = static_cast<std::uint8_t>(rng() & 1u);
        }
        FamilyCorrelationOptions options;
        options.odd = true;
        options.run.threads = c.threads;
        const FamilyReport report = family_correlation(std::span<const Chips>(codes), options);
        const Brute b = brute_force(codes);
        const std::string what = std::to_string(c.codes) + " x " + std::to_string(c.length);
        EXPECT_EQ(report.codes, c.codes);
        EXPECT_EQ(report.length, c.length);
        expect_summary(report.periodic, b.periodic, b.cross, b.autocorrelation, what + " periodic");
        ASSERT_TRUE(report.odd.has_value());
        expect_summary(*report.odd, b.odd, b.odd_cross, b.odd_auto, what + " odd");
        // The periodic report alone takes the other path: the same answer.
        options.odd = false;
        const FamilyReport periodic = family_correlation(std::span<const Chips>(codes), options);
        EXPECT_FALSE(periodic.odd.has_value());
        expect_summary(periodic.periodic, b.periodic, b.cross, b.autocorrelation, what + " periodic alone");
        // +1/-1 chips are the same codes.
        std::vector<std::int8_t> signs;
        for (const Chips& code : codes) {
            for (std::uint8_t chip : code) signs.push_back(chip ? -1 : 1);
        }
        EXPECT_EQ(family_correlation(std::span<const std::int8_t>(signs), c.length).periodic.histogram.size(),
                  periodic.periodic.histogram.size());
    }
}

TEST(FamilyCorrelation, GpsCodesPeakAt65) {
    std::vector<Chips> codes;
    for (int prn = 1; prn <= 32; ++prn) codes.push_back(preset_code(preset("gps-ca-" + std::to_string(prn))));
    // PRN 1 starts 1100100000 (octal 1440, the standard's first ten chips).
    EXPECT_EQ(Chips(codes[0].begin(), codes[0].begin() + 10), (Chips{1, 1, 0, 0, 1, 0, 0, 0, 0, 0}));
    const FamilyReport report = family_correlation(std::span<const Chips>(codes));
    EXPECT_EQ(report.length, 1023u);
    EXPECT_EQ(report.periodic.cross.magnitude, 65u);
    EXPECT_EQ(report.periodic.autocorrelation.magnitude, 65u);
    EXPECT_EQ(values_of(report.periodic.histogram), (std::vector<std::int64_t>{-65, -1, 63}));
    EXPECT_NEAR(report.welch_bound, 1023.0 * std::sqrt(31.0 / (32.0 * 1023.0 - 1.0)), 1e-9);
}

// A code the standard cuts short is that long: BeiDou B1I's 2046 chips of a
// degree-11 Gold pair, not the registers' period of 2047.
TEST(FamilyCorrelation, PresetCodesTakeTheirStandardsLength) {
    const Preset& b1i = preset("beidou-b1i-1");
    const Chips code = preset_code(b1i);
    EXPECT_EQ(code.size(), 2046u);
    EXPECT_EQ(code, preset_bits(b1i, 2046));
    EXPECT_EQ(preset_code(preset("prbs9")).size(), 511u);
}

TEST(FamilyCorrelation, StopsAndReportsProgress) {
    const Chips chips = gold_family(preferred_pair(7));
    std::vector<Progress> seen;
    FamilyCorrelationOptions options;
    options.run.progress = [&seen](const Progress& p) { seen.push_back(p); };
    family_correlation(std::span<const std::uint8_t>(chips), 127, options);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().done, 129u * 128u / 2u);
    EXPECT_EQ(seen.back().total, seen.back().done);
    std::stop_source source;
    source.request_stop();
    options.run.stop = source.get_token();
    EXPECT_THROW(family_correlation(std::span<const std::uint8_t>(chips), 127, options), Stopped);
}

// Each refusal names what it refuses.
TEST(FamilyRefusals, NameTheFaultAndItsPosition) {
    const GoldPair pair = preferred_pair(5);
    const Polynomial u8 = first_primitive(8), u7 = first_primitive(7);
    const std::vector<Chips> unequal = {Chips(7), Chips(7), Chips(6)};
    const Chips bad_chip = {0, 1, 0, 1, 1, 2, 0, 0};
    struct Case {
        const char* words;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"index 31 is outside", [&] { gold_code(pair, 31); }},
        {"index -3 is outside", [&] { gold_code(pair, -3); }},
        {"not primitive", [&] { gold_code({pair.u, Polynomial::parse("100001")}, 0); }},
        {"m 15 is outside", [&] { kasami_code(KasamiSet::small, u8, {GOLD_U, 15}); }},
        {"k = -2 (u) only", [&] { kasami_code(KasamiSet::small, u8, {0, 1}); }},
        {"an even degree", [&] { kasami_code(KasamiSet::small, u7, {}); }},
        {"2 mod 4", [&] { kasami_code(KasamiSet::large, u8, {}); }},
        {"code 2 has 6 chips", [&] { family_correlation(std::span<const Chips>(unequal)); }},
        {"code 1, chip 1: 2 is not 0 or 1", [&] { family_correlation(std::span<const std::uint8_t>(bad_chip), 4); }},
        {"at least two codes", [&] { family_correlation(std::span<const std::uint8_t>(bad_chip.data(), 4), 4); }},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "accepted: " << c.words;
        } catch (const InvalidArgument& e) {
            EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace tapwell

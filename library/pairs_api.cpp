// Ring: library. tapwell/pairs.hpp over the pair search, the spectrum of a
// pair and the partners (library/pair_search.h, pair_phases.h, partners.h).
#include <map>

#include "core/shift_register.h"
#include "library/api_support.h"
#include "library/pair_phases.h"
#include "library/pair_search.h"
#include "library/partners.h"
#include "library/poly_conversion.h"
#include "library/refusals.h"
#include "tapwell/pairs.hpp"

namespace tapwell {

namespace {

class PairList final : public PairSink {
public:
    explicit PairList(ProgressReport& report) : report_(report) {}
    void begin(WorkerPool&, std::uint64_t pairs) override { total_ = pairs; }
    bool checked(std::uint64_t pairs) override {
        report_(pairs, total_);
        return true;
    }
    bool take(std::uint32_t i, std::uint32_t j) override {
        pairs.push_back({i, j});
        return true;
    }
    std::vector<IndexPair> pairs;

private:
    ProgressReport& report_;
    std::uint64_t total_ = 0;
};

}  // namespace

std::vector<IndexPair> preferred_pairs(std::span<const Polynomial> list, std::uint64_t count,
                                       const RunOptions& options) {
    if (list.size() < 2) throw InvalidArgument("a list of pairs takes at least two polynomials");
    if (list.size() > 0xFFFFFFFFu) throw InvalidArgument("a list of pairs takes at most 2^32 - 1 polynomials");
    std::vector<std::uint32_t> values;
    values.reserve(list.size());
    for (std::size_t k = 0; k < list.size(); ++k) {
        const PolyWord p = word_of(list[k]);
        const std::string what = "entry " + std::to_string(k);
        refuse(degree_refusal(p, what, WINDOW_MIN_DEGREE, WINDOW_MAX_DEGREE));
        if (p.degree != list[0].degree()) {
            throw InvalidArgument(what + " has degree " + std::to_string(p.degree) + " and entry 0 degree " +
                                  std::to_string(list[0].degree()) + ": the entries of a list have one degree");
        }
        values.push_back(static_cast<std::uint32_t>(p.value));
    }
    ProgressReport report(options);
    PairList sink(report);
    const PairSearchRequest request{values.data(), static_cast<std::uint32_t>(values.size()),
                                    static_cast<std::uint32_t>(count < 0xFFFFFFFFu ? count : 0)};
    throw_if_stopped(search_pairs(request, context_of(options), sink));
    return std::move(sink.pairs);
}

PairCheck check_pair(Polynomial a, Polynomial b, const RunOptions& options) {
    const PolyWord wa = word_of(a), wb = word_of(b);
    refuse(degree_refusal(wa, "A", WINDOW_MIN_DEGREE, WINDOW_MAX_DEGREE));
    refuse(degree_refusal(wb, "B", WINDOW_MIN_DEGREE, WINDOW_MAX_DEGREE));
    refuse(same_degree_refusal(wa, wb));
    refuse(primitive_refusal(wa, "A"));
    refuse(primitive_refusal(wb, "B"));
    WorkerPool pool(pool_threads(options.threads), options.stop);
    std::map<std::int64_t, std::uint64_t> counts;
    if (!spectrum_counts(pool, wa.degree, taps_of(wa), taps_of(wb), counts)) throw Stopped();
    PairCheck check;
    const PreferredValues preferred = preferred_values(wa.degree);
    check.t = preferred.t;
    check.preferred = true;
    for (const auto& [value, count] : counts) {
        check.preferred = check.preferred && preferred.contains(value);
        check.values.push_back({value, count});
    }
    return check;
}

std::vector<Partner> partners(Polynomial f, const PartnerSearch& search, const RunOptions& options) {
    const PolyWord w = word_of(f);
    refuse(degree_refusal(w, "POLY", 5, 64));
    refuse(pair_degree_refusal(w, "POLY"));
    refuse(primitive_refusal(w, "POLY"));
    if (search.exhaustive && w.degree > PARTNER_EXHAUSTIVE_MAX_DEGREE) {
        throw InvalidArgument("exhaustive: every decimation is examined up to degree " +
                              std::to_string(PARTNER_EXHAUSTIVE_MAX_DEGREE) + "; POLY has degree " +
                              std::to_string(w.degree));
    }
    if (search.verify && w.degree > PARTNER_VERIFY_MAX_DEGREE) {
        throw InvalidArgument("verify: all phases are computed up to degree " +
                              std::to_string(PARTNER_VERIFY_MAX_DEGREE) + "; POLY has degree " +
                              std::to_string(w.degree));
    }
    WorkerPool pool(pool_threads(options.threads), options.stop);
    std::vector<FoundPartner> found;
    switch (find_partners(pool, w, search.exhaustive, search.verify, found)) {
        case PartnersEnd::stopped: throw Stopped();
        case PartnersEnd::refuted:
            throw Error("a partner by theorem did not keep to the three values over all phases; this is a fault of "
                        "the library, please report it with POLY");
        case PartnersEnd::found: break;
    }
    std::vector<Partner> result;
    result.reserve(found.size());
    for (const FoundPartner& p : found) {
        result.push_back({polynomial_of_word(p.poly), p.decimation, p.family, p.verified});
    }
    return result;
}

}  // namespace tapwell

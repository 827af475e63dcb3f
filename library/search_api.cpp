// Ring: library. tapwell/search.hpp over the primitive search
// (library/primitive_search.h).
#include <limits>

#include "core/mersenne.h"
#include "core/poly_order.h"
#include "library/api_support.h"
#include "library/poly_conversion.h"
#include "library/primitive_search.h"
#include "library/refusals.h"
#include "tapwell/search.hpp"

namespace tapwell {

namespace {

class CallerSink final : public PrimitiveSink {
public:
    CallerSink(const std::function<bool(std::span<const Polynomial>)>& take, ProgressReport& report,
               std::uint32_t first, std::uint32_t last)
        : take_(take), report_(report), first_(first), last_(last) {}

    bool testing(std::uint32_t) override { return true; }
    bool take(const FoundBlock& b) override {
        finds_.clear();
        for (std::uint32_t f = 0; f < b.count; ++f) finds_.push_back(Polynomial::from_value(b.finds[f]));
        if (!finds_.empty() && !take_(std::span<const Polynomial>(finds_))) {
            ended_by_caller_ = true;
            return false;
        }
        report_(std::uint64_t{b.last} - first_ + 1, std::uint64_t{last_} - first_ + 1);
        return true;
    }
    bool ended_by_caller() const { return ended_by_caller_; }

private:
    const std::function<bool(std::span<const Polynomial>)>& take_;
    ProgressReport& report_;
    const std::uint32_t first_, last_;
    std::vector<Polynomial> finds_;
    bool ended_by_caller_ = false;
};

}  // namespace

void for_each_primitive(const PrimitiveSearch& search, const std::function<bool(std::span<const Polynomial>)>& take,
                        const RunOptions& options) {
    const PolyWord from = word_of(search.from);
    refuse(degree_refusal(from, "from", WINDOW_MIN_DEGREE, WINDOW_MAX_DEGREE));
    PrimitiveSearchRequest request{static_cast<std::uint32_t>(from.value), 0, 0};
    if (search.last) {
        const PolyWord last = word_of(*search.last);
        if (last.degree != from.degree || last.value < from.value) {
            throw InvalidArgument("last: " + search.last->format(Notation::algebraic) +
                                  " is not a candidate of degree " + std::to_string(from.degree) + " from " +
                                  search.from.format(Notation::algebraic) + " on");
        }
        request.last = static_cast<std::uint32_t>(last.value);
    }
    // More finds than a degree has are no limit.
    const std::uint64_t most = std::numeric_limits<std::uint32_t>::max();
    request.count = static_cast<std::uint32_t>(search.count < most ? search.count : 0);
    ProgressReport report(options);
    const std::uint32_t last = request.last != 0 ? request.last : static_cast<std::uint32_t>(mersenne(from.degree));
    CallerSink sink(take, report, request.first, last);
    const RunEnd end = search_primitives(request, context_of(options), sink);
    if (!sink.ended_by_caller()) throw_if_stopped(end);
}

std::vector<Polynomial> primitive_polynomials(const PrimitiveSearch& search, const RunOptions& options) {
    std::vector<Polynomial> finds;
    for_each_primitive(
        search,
        [&](std::span<const Polynomial> block) {
            finds.insert(finds.end(), block.begin(), block.end());
            return true;
        },
        options);
    return finds;
}

std::vector<Polynomial> primitive_polynomials(int degree, const RunOptions& options) {
    if (degree < WINDOW_MIN_DEGREE || degree > WINDOW_MAX_DEGREE) {
        throw InvalidArgument("degree " + std::to_string(degree) + ": the search takes degrees " +
                              std::to_string(WINDOW_MIN_DEGREE) + " to " + std::to_string(WINDOW_MAX_DEGREE));
    }
    // x^n + 1, where the window's search of a degree starts (it is never a find).
    return primitive_polynomials(PrimitiveSearch{Polynomial::from_value(std::uint64_t{1} << (degree - 1))}, options);
}

Polynomial primitive_polynomial(int degree) {
    if (degree < 2 || degree > Polynomial::max_degree) {
        throw InvalidArgument("degree " + std::to_string(degree) + ": primitive_polynomial takes degrees 2 to 64");
    }
    // About one candidate in n is primitive: a few dozen tests at most.
    const std::uint64_t top = std::uint64_t{1} << (degree - 1);
    for (std::uint64_t v = top + 1;; ++v) {
        if (polynomial_facts({v, degree}).primitive) return Polynomial::from_value(v);
    }
}

}  // namespace tapwell

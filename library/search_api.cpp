// Ring: library. tapwell/search.hpp over the primitive searches: the window's
// (library/primitive_search.h) for every candidate of a degree up to 32, the
// wide one (library/primitive_search_wide.h) above it and for a number of
// terms.
#include <limits>

#include "core/primitivity_wide.h"
#include "library/api_support.h"
#include "library/poly_conversion.h"
#include "library/primitive_search.h"
#include "library/primitive_search_wide.h"
#include "library/search_plan.h"
#include "tapwell/search.hpp"

namespace tapwell {

namespace {

using Take = std::function<bool(std::span<const Polynomial>)>;

// The finds handed over as Polynomial values, progress measured by the
// candidates' values.
class CallerFinds {
public:
    CallerFinds(const Take& take, const RunOptions& options, std::uint64_t first, std::uint64_t last)
        : take_(take), report_(options), first_(first), last_(last) {}

    template <typename Word>
    bool take(const Word* finds, std::uint32_t count, std::uint64_t block_last) {
        finds_.clear();
        for (std::uint32_t f = 0; f < count; ++f) finds_.push_back(Polynomial::from_value(finds[f]));
        if (!finds_.empty() && !take_(std::span<const Polynomial>(finds_))) {
            ended_by_caller_ = true;
            return false;
        }
        report_(block_last - first_ + 1, last_ - first_ + 1);
        return true;
    }
    bool ended_by_caller() const { return ended_by_caller_; }

private:
    const Take& take_;
    ProgressReport report_;
    const std::uint64_t first_, last_;
    std::vector<Polynomial> finds_;
    bool ended_by_caller_ = false;
};

class WindowSink final : public PrimitiveSink {
public:
    explicit WindowSink(CallerFinds& finds) : finds_(finds) {}
    bool testing(std::uint32_t) override { return true; }
    bool take(const FoundBlock& b) override { return finds_.take(b.finds, b.count, b.last); }

private:
    CallerFinds& finds_;
};

class WideSink final : public WidePrimitiveSink {
public:
    explicit WideSink(CallerFinds& finds) : finds_(finds) {}
    bool take(const WideFoundBlock& b) override { return finds_.take(b.finds, b.count, b.last); }

private:
    CallerFinds& finds_;
};

}  // namespace

void for_each_primitive(const PrimitiveSearch& search, const Take& take, const RunOptions& options) {
    const SearchPlan plan = plan_search(search);
    if (plan.first == 0) return;
    CallerFinds finds(take, options, plan.first, plan.last);
    RunEnd end;
    if (in_window_kernel(plan)) {
        // More finds than a degree has are no limit.
        const std::uint64_t most = std::numeric_limits<std::uint32_t>::max();
        const PrimitiveSearchRequest request{static_cast<std::uint32_t>(plan.first),
                                             static_cast<std::uint32_t>(plan.last),
                                             static_cast<std::uint32_t>(plan.count < most ? plan.count : 0)};
        WindowSink sink(finds);
        end = search_primitives(request, context_of(options), sink);
    } else {
        WideSink sink(finds);
        end = search_primitives_wide({plan.degree, plan.first, plan.last, plan.count, plan.terms},
                                     context_of(options), sink);
    }
    if (!finds.ended_by_caller()) throw_if_stopped(end);
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

namespace {
void refuse_degree(int degree, const char* what) {
    if (degree < 2 || degree > Polynomial::max_degree) {
        throw InvalidArgument("degree " + std::to_string(degree) + ": " + what + " takes degrees 2 to 64");
    }
}
}  // namespace

Polynomial primitive_polynomial(int degree) {
    refuse_degree(degree, "primitive_polynomial");
    // About one candidate in n is primitive: a few dozen tests at most.
    const std::uint64_t top = std::uint64_t{1} << (degree - 1);
    for (std::uint64_t v = top + 1;; ++v) {
        if (is_primitive_wide(v, degree)) return Polynomial::from_value(v);
    }
}

Polynomial sparsest_primitive_polynomial(int degree) {
    refuse_degree(degree, "sparsest_primitive_polynomial");
    if (degree == 2) return primitive_polynomial(2);  // x^2 + x + 1, below the search's degrees
    const Polynomial start = Polynomial::from_value(std::uint64_t{1} << (degree - 1));
    // A degree has a primitive polynomial, and so one of some odd number of terms.
    for (int terms = 3;; terms += 2) {
        const std::vector<Polynomial> first = primitive_polynomials(PrimitiveSearch{start, 1, std::nullopt, terms});
        if (!first.empty()) return first[0];
    }
}

}  // namespace tapwell

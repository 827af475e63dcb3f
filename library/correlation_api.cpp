// Ring: library. tapwell/correlation.hpp over the all-phase correlation
// (library/correlation.h).
#include <algorithm>

#include "core/mersenne.h"
#include "core/shift_register.h"
#include "library/api_support.h"
#include "library/correlation.h"
#include "library/poly_conversion.h"
#include "library/refusals.h"
#include "tapwell/correlation.hpp"

namespace tapwell {

namespace {

// Values copied into the caller's array, in pieces on the run's pool: at
// degree 24 and above the copy would otherwise be a fair share of the time.
template <typename Out>
class SpanSink final : public PhaseValueSink {
public:
    SpanSink(std::span<Out> out, ProgressReport& report, std::stop_token stop)
        : out_(out), report_(report), stop_(std::move(stop)) {}
    bool take(WorkerPool& pool, std::uint32_t first_dt, const std::int32_t* values, std::size_t count) override {
        return copy(pool, first_dt, values, count);
    }
    bool take(WorkerPool& pool, std::uint32_t first_dt, const std::int64_t* values, std::size_t count) override {
        return copy(pool, first_dt, values, count);
    }

private:
    static constexpr std::size_t PIECE = std::size_t{1} << 18;
    template <typename T>
    bool copy(WorkerPool& pool, std::uint32_t first_dt, const T* values, std::size_t count) {
        Out* to = out_.data() + first_dt;
        // A chunk at degree 32 is 2^28 values: the pieces left once a stop is
        // asked for are skipped, so that the caller is answered promptly.
        pool.for_each((count + PIECE - 1) / PIECE, [&](std::size_t piece) {
            if (stop_.stop_requested()) return;
            const std::size_t from = piece * PIECE;
            const std::size_t end = std::min(count, from + PIECE);
            std::transform(values + from, values + end, to + from, [](T v) { return static_cast<Out>(v); });
        });
        if (stop_.stop_requested()) return false;
        report_(first_dt + count, out_.size());
        return true;
    }
    std::span<Out> out_;
    ProgressReport& report_;
    std::stop_token stop_;
};

template <typename Out>
void correlate_into(Polynomial a, Polynomial b, std::span<Out> r, const RunOptions& options, int max_degree) {
    const PolyWord wa = word_of(a), wb = word_of(b);
    refuse(degree_refusal(wa, "A", WINDOW_MIN_DEGREE, max_degree));
    refuse(degree_refusal(wb, "B", WINDOW_MIN_DEGREE, max_degree));
    refuse(same_degree_refusal(wa, wb));
    const std::uint64_t phases = mersenne(a.degree());
    if (r.size() != phases) {
        throw InvalidArgument("the values of degree " + std::to_string(a.degree()) + " take an array of " +
                              std::to_string(phases) + " (2^n - 1), not " + std::to_string(r.size()));
    }
    ProgressReport report(options);
    SpanSink<Out> sink(r, report, options.stop);
    throw_if_stopped(correlate_phases({a.degree(), taps_of(wa), taps_of(wb)}, context_of(options), sink));
}

}  // namespace

void correlate_all_phases(Polynomial a, Polynomial b, std::span<std::int64_t> r, const RunOptions& options) {
    correlate_into(a, b, r, options, WINDOW_MAX_DEGREE);
}

// |r| < 2^31 up to degree 31.
void correlate_all_phases(Polynomial a, Polynomial b, std::span<std::int32_t> r, const RunOptions& options) {
    correlate_into(a, b, r, options, 31);
}

std::vector<std::int64_t> correlate_all_phases(Polynomial a, Polynomial b, const RunOptions& options) {
    refuse(degree_refusal(word_of(a), "A", WINDOW_MIN_DEGREE, WINDOW_MAX_DEGREE));
    std::vector<std::int64_t> r(mersenne(a.degree()));
    correlate_all_phases(a, b, std::span<std::int64_t>(r), options);
    return r;
}

}  // namespace tapwell

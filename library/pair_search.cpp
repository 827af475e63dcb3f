// Ring: library. See pair_search.h.
#include "library/pair_search.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "core/shift_register.h"
#include "library/correlation.h"
#include "library/pair_classifier.h"
#include "tapwell/preferred_values.hpp"
#include "tapwell/polynomial.hpp"

namespace tapwell {

namespace {

// Pairs whose verdicts are looked up at a time, on the pool: few at first,
// when most cosets are still to be decided (a pair looked up before its coset
// was decided is looked up again on the job's thread), then twice as many
// each time.
constexpr std::size_t FIRST_LOOK_UP_PAIRS = std::size_t{1} << 14;
constexpr std::size_t LOOK_UP_PAIRS = std::size_t{1} << 20;

// The first of verdicts[from, to) that is not not_preferred, or `to`. Most
// pairs are ruled out: they pass 32 at a time.
std::size_t next_not_ruled_out(const PairVerdict* verdicts, std::size_t from, std::size_t to) {
    static_assert(sizeof(PairVerdict) == 1 && static_cast<int>(PairVerdict::not_preferred) == 0);
    for (std::uint64_t four[4]; to - from >= 32; from += 32) {
        std::memcpy(four, verdicts + from, 32);
        if ((four[0] | four[1] | four[2] | four[3]) != 0) break;
    }
    for (std::uint64_t eight = 0; to - from >= 8; from += 8) {
        std::memcpy(&eight, verdicts + from, 8);
        if (eight != 0) break;
    }
    while (from < to && verdicts[from] == PairVerdict::not_preferred) ++from;
    return from;
}

// Every start state of register B in increasing order, until the first phase
// whose value is none of the three. Exact for any pair; for the pairs the
// classifier cannot decide.
PairVerdict test_pair(const SteppedPair& pair, std::uint32_t period, PreferredValues preferred, const StopCheck& stop) {
    for (std::uint32_t p = 1;; ++p) {
        std::int64_t r = 0;
        if (!stepped_phase(pair, p, r, stop)) return PairVerdict::stopped;
        if (!preferred.contains(r)) return PairVerdict::not_preferred;
        if (p == period) return PairVerdict::preferred;
    }
}

}  // namespace

int pair_search_degree(const PairSearchRequest& request) {
    if (request.count < 2) return 0;
    const int n = static_cast<int>(std::bit_width(request.list[0]));
    return n < WINDOW_MIN_DEGREE ? 0 : n;
}

RunEnd search_pairs(const PairSearchRequest& request, const RunContext& context, PairSink& sink) {
    const int n = pair_search_degree(request);
    if (n == 0) return RunEnd::complete;
    const std::uint32_t* list = request.list;
    const std::uint32_t list_count = request.count;
    const std::uint32_t e = 1u << (n - 1);
    const std::uint32_t period = 2u * e - 1u;
    SteppedPair stepped{0, e, 0, e};
    const PreferredValues preferred = preferred_values(n);
    const std::uint64_t total = std::uint64_t{list_count} * (list_count - 1) / 2;

    // A thread for each 2^16 pairs: a short list is not worth starting one.
    WorkerPool pool(pool_threads_for(total >> 16, context.threads), context.stop);
    sink.begin(pool, total);
    PairClassifier classifier;
    if (!prepare_pair_classifier(pool, classifier, list, list_count, n)) return RunEnd::stopped;
    // Cosets a batch: enough to keep every thread busy; at high degrees, where
    // each one is a pass over the sequence, few, so that a search stopped by
    // its limit has not paid for many it does not need.
    const std::size_t batch_size = n <= 20 ? 64 : 4 * static_cast<std::size_t>(pool.size());
    std::vector<CosetQuestion> batch;
    RowVerdicts rows;

    std::size_t look_up_pairs = FIRST_LOOK_UP_PAIRS;
    std::uint64_t found = 0;
    std::uint64_t checked = 0;
    for (std::uint32_t i = 0; i + 1 < list_count; ++i) {
        stepped.taps_a = taps_of(list[i], e);
        if (i == 0 || i >= rows.end) {
            look_up_rows(pool, classifier, i, list_count, look_up_pairs, rows);
            look_up_pairs = std::min(2 * look_up_pairs, LOOK_UP_PAIRS);
        }
        const PairVerdict* row = rows.row(i);
        for (std::uint32_t j = i + 1; j < list_count;) {
            if (pool.stopped()) return RunEnd::stopped;
            // The pairs known not to be preferred, up to 256 at a time, pass
            // with one look at the stop token and one count.
            const std::uint32_t run_end = list_count - j < 256 ? list_count : j + 256;
            const std::uint32_t run_start = j;
            j = i + 1 + static_cast<std::uint32_t>(next_not_ruled_out(row, j - i - 1, run_end - i - 1));
            checked += j - run_start;
            if (j == run_end) {
                if (!sink.checked(checked)) return RunEnd::stopped;
                continue;
            }
            if (!sink.checked(++checked)) return RunEnd::stopped;
            PairVerdict v = row[j - i - 1];
            if (v == PairVerdict::unknown && classified(classifier, i, j)) {
                const std::uint32_t q = pair_ratio(classifier, i, j);
                v = known_verdict(classifier, q);
                if (v == PairVerdict::unknown) {
                    ask_cosets_from(classifier, i, j, list_count, batch_size, batch);
                    if (!decide_cosets(pool, classifier, batch)) return RunEnd::stopped;
                    v = known_verdict(classifier, q);
                }
            }
            if (v == PairVerdict::unknown) {
                stepped.taps_b = taps_of(list[j], e);
                v = test_pair(stepped, period, preferred, pool.stop_token());
            }
            if (v == PairVerdict::stopped) return RunEnd::stopped;
            if (v == PairVerdict::preferred) {
                if (!sink.take(i, j)) return RunEnd::stopped;
                if (request.limit != 0 && ++found >= request.limit) return RunEnd::complete;
            }
            ++j;
        }
    }
    return RunEnd::complete;
}

}  // namespace tapwell

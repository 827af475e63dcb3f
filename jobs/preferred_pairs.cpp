// Ring: jobs. See preferred_pairs.h.
#include "jobs/preferred_pairs.h"

#include <algorithm>
#include <cstring>

#include "core/poly_text.h"
#include "core/shift_register.h"
#include "jobs/cross_correlation.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/leading_integer.h"
#include "jobs/pair_classifier.h"
#include "jobs/line_builder.h"
#include "runtime/log_stream.h"
#include "jobs/shared_state.h"
#include "jobs/system_texts.h"
#include "runtime/worker_pool.h"

namespace tapwell {

namespace {

constexpr std::uint32_t DISPLAY_CAP = 30;
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

// An entry's written form, made once: a found pair's line is then three copies.
struct EntryText {
    char text[33];  // up to 32 stored bits and the constant term
    std::uint8_t size;
    std::string_view view() const { return {text, size}; }
};

std::vector<EntryText> entry_texts(WorkerPool& pool, const std::uint32_t* list, std::uint32_t count) {
    constexpr std::size_t BLOCK = 4096;
    std::vector<EntryText> texts(count);
    pool.for_each((count + BLOCK - 1) / BLOCK, [&](std::size_t b) {
        LineBuilder line;
        for (std::size_t k = b * BLOCK; k < count && k < (b + 1) * BLOCK; ++k) {
            const std::string_view text = line.clear().polynomial(list[k]).view();
            std::memcpy(texts[k].text, text.data(), text.size());
            texts[k].size = static_cast<std::uint8_t>(text.size());
        }
    });
    return texts;
}

// Every start state of register 1 in increasing order, until the first phase
// whose value is none of the three. Exact for any pair; used for the pairs the
// classifier cannot decide: an entry that is not primitive of the list's
// degree (or every pair, when its tables cannot be had).
PairVerdict test_pair(RegisterBank& bank, std::uint32_t period, std::int64_t t) {
    for (std::uint32_t p = 1;; ++p) {
        const std::optional<std::int64_t> r = phase_correlation(bank, p);
        if (!r) return PairVerdict::stopped;
        if (*r != -1 && *r != t - 2 && *r != -t) return PairVerdict::not_preferred;
        if (p == period) return PairVerdict::preferred;
    }
}

}  // namespace

JobOutcome search_preferred_pairs(FrontEnd& front_end) {
    begin_job(front_end);
    // The percentage of Status report falls back to 0 here, before the new
    // total is set, so it never shows the last run's count over this run's total.
    pairs_checked.store(0, std::memory_order_relaxed);
    const std::uint32_t list_count = found_list_count;
    const int n = list_count > 0 ? bit_length(FoundList[0]) : 0;
    // Read as typed, compared unsigned: a negative count never stops early.
    std::uint32_t limit = static_cast<std::uint32_t>(leading_integer(text_slot(SLOT_FIND_COUNT)));
    if (n < 3 || list_count < 2) return reject_parameters(front_end);

    LineBuilder line;
    line.text(texts::PAIRS_HEADER).number(n);
    log_write_line(line.text(texts::PAIRS_LIST_SIZE).number(list_count).view());

    RegisterBank bank;
    ShiftRegister& a = bank.registers[0];
    ShiftRegister& b = bank.registers[1];
    const std::uint32_t e = 1u << (n - 1);
    const std::uint32_t period = 2u * e - 1u;
    a.top = e;
    b.top = e;
    if (limit == 0) limit = period;
    const std::int64_t t = preferred_t(n);
    const std::uint64_t total = std::uint64_t{list_count} * (list_count - 1) / 2;
    pairs_total.store(static_cast<float>(total), std::memory_order_relaxed);
    found_count.store(0, std::memory_order_relaxed);

    // The decimation of every entry, once; then a look-up per pair, the
    // coset of its ratio decided the first time it is met, together with the
    // next unknown ones (pair_classifier.h).
    // A thread for each 2^16 pairs: a short list is not worth starting one.
    WorkerPool pool(job_threads_for(total >> 16));
    PairClassifier classifier;
    if (!prepare_pair_classifier(pool, classifier, FoundList.data(), list_count, n)) return JobOutcome::stopped;
    // Cosets a batch: enough to keep every thread busy; at high degrees, where
    // each one is a pass over the sequence, few, so that a search stopped by
    // its count has not paid for many it does not need.
    const std::size_t batch_size = n <= 20 ? 64 : 4 * static_cast<std::size_t>(pool.size());
    std::vector<CosetQuestion> batch;
    RowVerdicts rows;
    const std::vector<EntryText> written = entry_texts(pool, FoundList.data(), list_count);

    std::size_t look_up_pairs = FIRST_LOOK_UP_PAIRS;
    std::uint32_t found = 0;
    std::uint32_t checked = 0;
    bool searching = true;
    for (std::uint32_t i = 0; searching && i + 1 < list_count; ++i) {
        a.taps = taps_of(FoundList[i], e);
        if (i == 0 || i >= rows.end) {
            look_up_rows(pool, classifier, i, list_count, look_up_pairs, rows);
            look_up_pairs = std::min(2 * look_up_pairs, LOOK_UP_PAIRS);
        }
        const PairVerdict* row = rows.row(i);
        for (std::uint32_t j = i + 1; searching && j < list_count;) {
            if (stop_pending()) return JobOutcome::stopped;
            // The pairs known not to be preferred, up to 256 at a time, pass
            // with one look at the stop flag and one count for Status report.
            const std::uint32_t run_end = list_count - j < 256 ? list_count : j + 256;
            const std::uint32_t run_start = j;
            j = i + 1 + static_cast<std::uint32_t>(next_not_ruled_out(row, j - i - 1, run_end - i - 1));
            checked += j - run_start;
            pairs_checked.store(checked, std::memory_order_relaxed);
            if (j == run_end) continue;
            pairs_checked.store(++checked, std::memory_order_relaxed);
            PairVerdict v = row[j - i - 1];
            if (v == PairVerdict::unknown && classified(classifier, i, j)) {
                const std::uint32_t q = pair_ratio(classifier, i, j);
                v = known_verdict(classifier, q);
                if (v == PairVerdict::unknown) {
                    ask_cosets_from(classifier, i, j, list_count, batch_size, batch);
                    if (!decide_cosets(pool, classifier, batch)) return JobOutcome::stopped;
                    v = known_verdict(classifier, q);
                }
            }
            if (v == PairVerdict::unknown) {
                b.taps = taps_of(FoundList[j], e);
                v = test_pair(bank, period, t);
            }
            if (v == PairVerdict::stopped) return JobOutcome::stopped;
            if (v == PairVerdict::preferred) {
                line.clear().text(written[i].view()).text(texts::PAIR_SEPARATOR).text(written[j].view());
                log_write_line(line.view());
                found_count.store(++found, std::memory_order_relaxed);
                show_item(front_end, found - 1, DISPLAY_CAP, line.view(), texts::NOTE_FOUND);
                searching = found < limit;
            }
            ++j;
        }
    }
    line.clear().text(texts::PAIRS_COMPLETED).number(found).text("\n");
    return close_job(front_end, line.view());
}

}  // namespace tapwell

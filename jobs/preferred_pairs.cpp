// Ring: jobs. See preferred_pairs.h.
#include "jobs/preferred_pairs.h"

#include <cstring>
#include <vector>

#include "core/mersenne.h"
#include "core/poly_text.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/leading_integer.h"
#include "jobs/line_builder.h"
#include "jobs/shared_state.h"
#include "jobs/system_texts.h"
#include "library/pair_search.h"
#include "runtime/log_stream.h"
#include "runtime/worker_pool.h"
#include "tapwell/polynomial.hpp"

namespace tapwell {

namespace {

constexpr std::uint32_t DISPLAY_CAP = 30;

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

// The job's sink: each pair's line, the first ones shown, the counters kept.
class PairLines final : public PairSink {
public:
    PairLines(FrontEnd& front_end, const std::uint32_t* list, std::uint32_t count)
        : front_end_(front_end), list_(list), count_(count) {}

    void begin(WorkerPool& pool, std::uint64_t pairs) override {
        pairs_total.store(static_cast<float>(pairs), std::memory_order_relaxed);
        written_ = entry_texts(pool, list_, count_);
    }
    bool checked(std::uint64_t pairs) override {
        pairs_checked.store(static_cast<std::uint32_t>(pairs), std::memory_order_relaxed);
        return !stop_pending();
    }
    bool take(std::uint32_t i, std::uint32_t j) override {
        line_.clear().text(written_[i].view()).text(texts::PAIR_SEPARATOR).text(written_[j].view());
        log_write_line(line_.view());
        found_count.store(++found_, std::memory_order_relaxed);
        show_item(front_end_, found_ - 1, DISPLAY_CAP, line_.view(), texts::NOTE_FOUND);
        return true;
    }
    std::uint32_t found() const { return found_; }

private:
    FrontEnd& front_end_;
    const std::uint32_t* list_;
    std::uint32_t count_;
    std::vector<EntryText> written_;
    LineBuilder line_;
    std::uint32_t found_ = 0;
};

}  // namespace

PairsInput read_pairs_input(const char* count) {
    return {FoundList.data(), found_list_count, static_cast<std::uint32_t>(leading_integer(count))};
}

JobOutcome search_preferred_pairs(FrontEnd& front_end) {
    return run_pair_search(front_end, read_pairs_input(text_slot(SLOT_FIND_COUNT)));
}

JobOutcome run_pair_search(FrontEnd& front_end, const PairsInput& input) {
    begin_job(front_end);
    // The percentage of Status report falls back to 0 here, before the new
    // total is set, so it never shows the last run's count over this run's total.
    pairs_checked.store(0, std::memory_order_relaxed);
    const std::uint32_t list_count = input.count;
    const int n = list_count > 0 ? bit_length(input.list[0]) : 0;
    std::uint32_t limit = input.limit;
    if (n < WINDOW_MIN_DEGREE || list_count < 2) return reject_parameters(front_end);

    LineBuilder line;
    line.text(texts::PAIRS_HEADER).number(n);
    log_write_line(line.text(texts::PAIRS_LIST_SIZE).number(list_count).view());
    if (limit == 0) limit = static_cast<std::uint32_t>(mersenne(n));
    found_count.store(0, std::memory_order_relaxed);

    PairLines sink(front_end, input.list, list_count);
    const PairSearchRequest request{input.list, list_count, limit};
    if (search_pairs(request, {job_stop_token(), job_threads()}, sink) == RunEnd::stopped) return JobOutcome::stopped;
    line.clear().text(texts::PAIRS_COMPLETED).number(sink.found()).text("\n");
    return close_job(front_end, line.view());
}

}  // namespace tapwell

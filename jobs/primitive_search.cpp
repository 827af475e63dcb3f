// Ring: jobs. See primitive_search.h.
#include "jobs/primitive_search.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "core/mersenne.h"
#include "core/poly_text.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/leading_integer.h"
#include "jobs/line_builder.h"
#include "runtime/log_stream.h"
#include "jobs/shared_state.h"
#include "jobs/system_texts.h"
#include "library/primitive_search.h"
#include "tapwell/polynomial.hpp"

namespace tapwell {

namespace {

constexpr std::uint32_t DISPLAY_CAP = 70;

// Every find has degree n: its line is n + 1 digits and a line feed.
std::size_t line_size_of(int n) { return static_cast<std::size_t>(n) + 2; }

std::string_view finished_text(LineBuilder& line, std::uint32_t found) {
    return line.clear().text(texts::SEARCH_FINISHED).number(found).text("\n").view();
}

// The job's sink: every find logged, the first ones shown, FoundList and the
// counters kept. current_candidate always names the next candidate not yet
// decided in the log: the round's first while the round is tested, the one
// after each find once it is logged, the next block's first once a block is
// logged. A search started again from it (Status report, the abort text)
// neither repeats nor skips a find.
class FindLines final : public PrimitiveSink {
public:
    FindLines(FrontEnd& front_end, int n, std::uint32_t limit)
        : front_end_(front_end), line_size_(line_size_of(n)), last_candidate_(static_cast<std::uint32_t>(mersenne(n))), limit_(limit) {}

    void begin(std::size_t round_slots) override { lines_.resize(round_slots); }

    bool testing(std::uint32_t candidate) override {
        current_candidate.store(candidate, std::memory_order_relaxed);
        return !stop_pending();
    }

    // The block's lines, on a thread of the pool: the job's thread then only
    // appends them.
    void prepare(const FoundBlock& b) override {
        std::vector<char>& lines = lines_[b.slot];  // kept from round to round: its room stays
        lines.resize(b.count * line_size_);
        LineBuilder line;
        char* at = lines.data();
        for (std::uint32_t f = 0; f < b.count; ++f, at += line_size_) {
            std::memcpy(at, line.clear().polynomial(b.finds[f]).view().data(), line_size_ - 1);
            at[line_size_ - 1] = '\n';
        }
    }

    bool take(const FoundBlock& b) override {
        const std::vector<char>& lines = lines_[b.slot];
        if (found_ > DISPLAY_CAP && b.count > 0) {
            // Past the display: the block at once.
            if (stop_pending()) return false;
            const std::uint32_t room = FOUND_LIST_CAPACITY - found_list_count;
            const std::uint32_t listed = b.count < room ? b.count : room;
            std::copy(b.finds, b.finds + listed, FoundList.begin() + found_list_count);
            found_list_count += listed;
            log_write({lines.data(), b.count * line_size_});
            found_ += b.count;
            found_count.store(found_, std::memory_order_relaxed);
            found_one(b.finds[b.count - 1]);
        } else {
            for (std::uint32_t f = 0; f < b.count; ++f) {
                if (stop_pending()) return false;
                const std::uint32_t find = b.finds[f];
                if (found_list_count < FOUND_LIST_CAPACITY) FoundList[found_list_count++] = find;
                const std::string_view text(lines.data() + f * line_size_, line_size_ - 1);
                log_write_line(text);
                ++found_;
                found_count.store(found_, std::memory_order_relaxed);
                found_one(find);
                show_item(front_end_, found_ - 1, DISPLAY_CAP, text, texts::NOTE_FOUND);
            }
        }
        // The search ends with the count: the candidate after the last find stays named.
        if (found_ < limit_ && b.last != last_candidate_) current_candidate.store(b.last + 1, std::memory_order_relaxed);
        return true;
    }

    std::uint32_t found() const { return found_; }

private:
    // The last candidate of the degree has no next: it stays named.
    void found_one(std::uint32_t find) {
        current_candidate.store(find == last_candidate_ ? find : find + 1, std::memory_order_relaxed);
    }

    FrontEnd& front_end_;
    const std::size_t line_size_;
    const std::uint32_t last_candidate_;
    const std::uint32_t limit_;
    std::vector<std::vector<char>> lines_;
    std::uint32_t found_ = 0;
};

}  // namespace

SearchInput read_search_input(const char* from, const char* count) {
    return {parse_polynomial(from), static_cast<std::uint32_t>(leading_integer(count))};
}

JobOutcome search_primitive(FrontEnd& front_end) {
    return run_primitive_search(front_end, read_search_input(text_slot(SLOT_SEARCH_FROM), text_slot(SLOT_FIND_COUNT)));
}

JobOutcome run_primitive_search(FrontEnd& front_end, const SearchInput& input) {
    begin_job(front_end);
    const std::uint32_t a = input.from;
    const int n = bit_length(a);
    std::uint32_t limit = input.count;
    if (a == 0 || n < WINDOW_MIN_DEGREE) return reject_parameters(front_end);

    const std::uint32_t e = 1u << (n - 1);
    const std::uint32_t first = a == e ? e + 1 : a;  // x^n + 1 is never tested
    found_count.store(0, std::memory_order_relaxed);
    if (limit == 0) limit = e - 1;
    found_list_count = 0;
    // Measured by its candidates, or by its finds when its count stops it
    // before the candidates run out (about one in n is primitive).
    const std::uint64_t candidates = std::uint64_t{2u * e - 1u} - first + 1;
    const bool by_finds = std::uint64_t{limit} * static_cast<std::uint32_t>(n) < candidates;
    work_origin.store(by_finds ? 0 : first, std::memory_order_relaxed);
    work_total.store(by_finds ? limit : candidates, std::memory_order_relaxed);

    LineBuilder line;
    log_write_line(line.text(texts::SEARCH_DEGREE).number(n).text(texts::SEARCH_FROM).polynomial(first).view());

    FindLines sink(front_end, n, limit);
    const PrimitiveSearchRequest request{first, 0, limit};
    if (search_primitives(request, {job_stop_token(), job_threads()}, sink) == RunEnd::stopped) {
        return JobOutcome::stopped;
    }
    return close_job(front_end, finished_text(line, sink.found()));
}

}  // namespace tapwell

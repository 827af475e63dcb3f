// Ring: jobs. See primitive_search.h.
#include "jobs/primitive_search.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "core/poly_text.h"
#include "core/primitivity.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/leading_integer.h"
#include "jobs/line_builder.h"
#include "runtime/log_stream.h"
#include "jobs/shared_state.h"
#include "jobs/system_texts.h"
#include "runtime/worker_pool.h"

namespace tapwell {

namespace {

constexpr std::uint32_t DISPLAY_CAP = 70;

// One block of candidates of a round, its primitive ones and their lines.
struct Block {
    std::uint32_t first = 0, last = 0;
    std::uint32_t count = 0;
    std::unique_ptr<std::uint32_t[]> finds;
    std::vector<char> lines;  // kept from round to round: its room stays
};

// Every find has degree n: its line is n + 1 digits and a line feed.
std::size_t line_size_of(int n) { return static_cast<std::size_t>(n) + 2; }

// The block's finds and their lines, on a thread of the pool: the job's
// thread then only appends them.
void test_block(Block& b, int n) {
    b.count = find_primitives(b.first, b.last, n, b.finds.get());
    const std::size_t line_size = line_size_of(n);
    b.lines.resize(b.count * line_size);
    LineBuilder line;
    char* at = b.lines.data();
    for (std::uint32_t f = 0; f < b.count; ++f, at += line_size) {
        std::memcpy(at, line.clear().polynomial(b.finds[f]).view().data(), line_size - 1);
        at[line_size - 1] = '\n';
    }
}

std::string_view finished_text(LineBuilder& line, std::uint32_t found) {
    return line.clear().text(texts::SEARCH_FINISHED).number(found).text("\n").view();
}

}  // namespace

JobOutcome search_primitive(FrontEnd& front_end) {
    begin_job(front_end);
    const std::uint32_t a = parse_polynomial(text_slot(SLOT_SEARCH_FROM));
    const int n = bit_length(a);
    // Read as typed, compared unsigned: a negative count never stops early.
    std::uint32_t limit = static_cast<std::uint32_t>(leading_integer(text_slot(SLOT_FIND_COUNT)));
    if (a == 0 || n < 3) return reject_parameters(front_end);

    const std::uint32_t e = 1u << (n - 1);
    std::uint32_t s = a ^ e;
    if (s == 0) s = 1;  // x^n + 1 is never tested
    found_count.store(0, std::memory_order_relaxed);
    if (limit == 0) limit = e - 1;
    found_list_count = 0;
    // Measured by its candidates, or by its finds when its count stops it
    // before the candidates run out (about one in n is primitive).
    const std::uint64_t candidates = std::uint64_t{2u * e - 1u} - (e + s) + 1;
    const bool by_finds = std::uint64_t{limit} * static_cast<std::uint32_t>(n) < candidates;
    work_origin.store(by_finds ? 0 : e + s, std::memory_order_relaxed);
    work_total.store(by_finds ? limit : candidates, std::memory_order_relaxed);

    LineBuilder line;
    log_write_line(line.text(texts::SEARCH_DEGREE).number(n).text(texts::SEARCH_FROM).polynomial(e + s).view());

    // The candidates are tested a block at a time (a millisecond or so even at
    // degree 32), a round of blocks at once on the job's threads; the finds of
    // each block are then logged in order exactly as a candidate-by-candidate
    // walk would log them, whatever the number of threads. current_candidate
    // always names the next candidate not yet decided in the log: the round's
    // first while the round is tested, the one after each find once it is
    // logged, the next block's first once a block is logged. A search started
    // again from it (Status report, the abort text) neither repeats nor skips a
    // find.
    const std::uint64_t blocks_in_range = (candidates + PRIMITIVE_BLOCK - 1) / PRIMITIVE_BLOCK + 1;
    WorkerPool pool(job_threads_for(blocks_in_range));
    const std::size_t round_blocks = pool.size() == 1 ? 1 : 4 * static_cast<std::size_t>(pool.size());
    std::vector<Block> blocks(round_blocks);
    // Left uninitialised: a block's finds are written before they are read.
    for (Block& b : blocks) b.finds.reset(new std::uint32_t[PRIMITIVE_BLOCK]);
    const std::uint32_t last_candidate = 2u * e - 1u;
    const std::size_t line_size = line_size_of(n);
    std::uint32_t found = 0;
    bool done = false;
    for (std::uint32_t g = e + s; !done;) {
        current_candidate.store(g, std::memory_order_relaxed);
        if (stop_pending()) return JobOutcome::stopped;
        std::size_t planned = 0;
        while (planned < round_blocks && !done) {
            const std::uint32_t block_last = g | (PRIMITIVE_BLOCK - 1u);
            Block& b = blocks[planned++];
            b.first = g;
            b.last = block_last < last_candidate ? block_last : last_candidate;
            done = b.last == last_candidate;  // offsets exhausted; checked before moving on so it cannot wrap
            g = b.last + 1;
        }
        pool.for_each(planned, [&](std::size_t k) { test_block(blocks[k], n); });
        for (std::size_t k = 0; k < planned; ++k) {
            const Block& b = blocks[k];
            if (found > DISPLAY_CAP && b.count > 0 && b.count <= limit - found) {
                // Past the display and short of the count: the block at once.
                if (stop_pending()) return JobOutcome::stopped;
                const std::uint32_t room = FOUND_LIST_CAPACITY - found_list_count;
                const std::uint32_t listed = b.count < room ? b.count : room;
                std::copy(b.finds.get(), b.finds.get() + listed, FoundList.begin() + found_list_count);
                found_list_count += listed;
                log_write({b.lines.data(), b.lines.size()});
                found += b.count;
                found_count.store(found, std::memory_order_relaxed);
                const std::uint32_t last_find = b.finds[b.count - 1];
                current_candidate.store(last_find == last_candidate ? last_find : last_find + 1, std::memory_order_relaxed);
                if (found >= limit) return close_job(front_end, finished_text(line, found));
                if (b.last != last_candidate) current_candidate.store(b.last + 1, std::memory_order_relaxed);
                continue;
            }
            for (std::uint32_t f = 0; f < b.count; ++f) {
                if (stop_pending()) return JobOutcome::stopped;
                const std::uint32_t find = b.finds[f];
                if (found_list_count < FOUND_LIST_CAPACITY) FoundList[found_list_count++] = find;
                const std::string_view text(b.lines.data() + f * line_size, line_size - 1);
                log_write_line(text);
                ++found;
                found_count.store(found, std::memory_order_relaxed);
                // The last candidate of the degree has no next: it stays named.
                current_candidate.store(find == last_candidate ? find : find + 1, std::memory_order_relaxed);
                show_item(front_end, found - 1, DISPLAY_CAP, text, texts::NOTE_FOUND);
                if (found >= limit) return close_job(front_end, finished_text(line, found));
            }
            if (b.last != last_candidate) current_candidate.store(b.last + 1, std::memory_order_relaxed);
        }
    }
    return close_job(front_end, finished_text(line, found));
}

}  // namespace tapwell

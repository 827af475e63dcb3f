// Ring: jobs. See primitive_search.h.
#include "jobs/primitive_search.h"

#include "core/poly_text.h"
#include "core/primitivity.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/leading_integer.h"
#include "jobs/line_builder.h"
#include "jobs/log_stream.h"
#include "jobs/shared_state.h"

namespace tapwell {

namespace {

constexpr std::uint32_t DISPLAY_CAP = 70;

// The finds of one batch; only the worker thread runs a search.
std::uint32_t batch_finds[PRIMITIVE_BLOCK];

}  // namespace

int search_primitive(FrontEnd& front_end) {
    begin_job(front_end);
    const std::uint32_t a = parse_polynomial(text_slot(SLOT_SEARCH_FROM));
    const int n = bit_length(a);
    max_count.store(leading_integer(text_slot(SLOT_FIND_COUNT)), std::memory_order_relaxed);
    if (a == 0 || n < 3) {
        reject_parameters();
        return close_job(front_end, EndRoutine::search, {});
    }

    const std::uint32_t e = 1u << (n - 1);
    std::uint32_t s = a ^ e;
    if (s == 0) s = 1;  // x^n + 1 is never tested
    found_count.store(0, std::memory_order_relaxed);
    if (max_count.load(std::memory_order_relaxed) == 0) {
        max_count.store(static_cast<std::int32_t>(e - 1), std::memory_order_relaxed);
    }
    const std::uint32_t limit = static_cast<std::uint32_t>(max_count.load(std::memory_order_relaxed));
    found_list_count = 0;

    LineBuilder line;
    log_write_line(line.text("n=").number(n).text(", from=").polynomial(e + s).view());

    // The candidates are tested a block at a time (a millisecond or so even at
    // degree 32); the finds of a block are then logged in order exactly as a
    // candidate-by-candidate walk would log them. current_candidate stands at
    // the block's first candidate while it is tested, then at each find.
    const std::uint32_t last_candidate = 2u * e - 1u;
    std::uint32_t found = 0;
    bool done = false;
    for (std::uint32_t g = e + s; !done;) {
        if (stop_pending()) return 0;
        current_candidate.store(g, std::memory_order_relaxed);
        const std::uint32_t block_last = g | (PRIMITIVE_BLOCK - 1u);
        const std::uint32_t stop = block_last < last_candidate ? block_last : last_candidate;
        const std::uint32_t count = find_primitives(g, stop, n, batch_finds);
        for (std::uint32_t k = 0; k < count; ++k) {
            if (stop_pending()) return 0;
            const std::uint32_t find = batch_finds[k];
            current_candidate.store(find, std::memory_order_relaxed);
            if (found_list_count < FOUND_LIST_CAPACITY) FoundList[found_list_count++] = find;
            line.clear().polynomial(find);
            log_write_line(line.view());
            ++found;
            found_count.store(found, std::memory_order_relaxed);
            show_item(front_end, found - 1, DISPLAY_CAP, line.view(), "found more...");
            if (found >= limit) {
                done = true;
                break;
            }
        }
        if (stop == last_candidate) break;  // offsets exhausted; checked before moving on so it cannot wrap
        g = stop + 1;
    }

    line.clear().text("Finished. found=").number(found).text("\n");
    return close_job(front_end, EndRoutine::search, line.view());
}

}  // namespace tapwell

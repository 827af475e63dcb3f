// Ring: jobs. See primitive_search.h.
#include "jobs/primitive_search.h"

#include "core/order_walk.h"
#include "core/poly_text.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/leading_integer.h"
#include "jobs/line_builder.h"
#include "jobs/log_stream.h"
#include "jobs/shared_state.h"

namespace tapwell {

namespace {

constexpr std::uint32_t DISPLAY_CAP = 70;
// About a millisecond of walking between two looks at the stop flag.
constexpr std::uint32_t WALK_SLICE = 1u << 20;

enum class Verdict { primitive, not_primitive, stopped };

Verdict test_candidate(std::uint32_t g, int n) {
    OrderWalk walk = order_walk_begin(g, n);
    while (true) {
        order_walk_run(walk, WALK_SLICE);
        if (walk.done) return walk.primitive ? Verdict::primitive : Verdict::not_primitive;
        if (stop_pending()) return Verdict::stopped;
    }
}

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
    log_write_line(line.text("n=").number(n).text(", from=").text(format_binary(e + s).view()).text("1").view());

    std::uint32_t found = 0;
    for (;; ++s) {
        if (stop_pending()) return 0;
        const std::uint32_t g = e + s;
        current_candidate.store(g, std::memory_order_relaxed);
        Verdict v = test_candidate(g, n);
        if (v == Verdict::stopped) return 0;
        if (v == Verdict::primitive) {
            if (found_list_count < FOUND_LIST_CAPACITY) FoundList[found_list_count++] = g;
            line.clear().text(format_binary(g).view()).text("1");
            log_write_line(line.view());
            ++found;
            found_count.store(found, std::memory_order_relaxed);
            show_item(front_end, found - 1, DISPLAY_CAP, line.view(), "found more...");
            if (found >= limit) break;
        }
        if (s == e - 1) break;  // offsets exhausted; checked before ++s so it cannot wrap
    }

    line.clear().text("Finished. found=").number(found).text("\n");
    return close_job(front_end, EndRoutine::search, line.view());
}

}  // namespace tapwell

// Ring: jobs. See job_frame.h.
#include "jobs/job_frame.h"

#include <cstdio>
#include <cstring>

#include "core/poly_text.h"
#include "jobs/job_control.h"
#include "runtime/log_stream.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "jobs/system_texts.h"

namespace tapwell {

void begin_job(FrontEnd& front_end) {
    work_total.store(0, std::memory_order_relaxed);
    status_set("");
    text_slots[SLOT_RESULT][0] = '\0';
    front_end.request_repaint();
}

JobOutcome reject_parameters(FrontEnd& front_end) {
    if (!claim_job_end()) return JobOutcome::stopped;
    status_append(message_text(MSG_INVALID_PARAMETER));
    front_end.request_repaint();
    return JobOutcome::rejected;
}

void append_result_line(FrontEnd& front_end, std::string_view line) {
    TextSlot& slot = text_slots[SLOT_RESULT];
    std::size_t at = strnlen(slot.data(), TEXT_SLOT_SIZE - 1);
    std::size_t room = TEXT_SLOT_SIZE - 1 - at;
    std::size_t n = line.size() < room ? line.size() : room;
    std::memcpy(slot.data() + at, line.data(), n);
    at += n;
    for (char c : {'\r', '\n'}) {
        if (at < TEXT_SLOT_SIZE - 1) slot[at++] = c;
    }
    slot[at] = '\0';
    front_end.show_result(slot.data());
}

void show_item(FrontEnd& front_end, std::uint32_t index, std::uint32_t cap,
               std::string_view line, std::string_view note) {
    if (index < cap) {
        append_result_line(front_end, line);
    } else if (index == cap) {
        status_append(note);
        front_end.request_repaint();
    }
}

JobOutcome close_job(FrontEnd& front_end, std::string_view final_text) {
    if (!claim_job_end()) return JobOutcome::stopped;
    if (log_failed()) return JobOutcome::write_failed;
    if (!final_text.empty()) log_write(final_text);
    log_flush();
    // The final text stands only once it is in the file.
    if (log_failed()) return JobOutcome::write_failed;
    if (!final_text.empty()) status_set(final_text);
    front_end.request_repaint();
    return JobOutcome::finished;
}

std::string format_status_report() {
    char text[128];
    switch (setting(SET_RUN_STATE)) {
        case RUN_PRIMITIVE_SEARCH:
            std::snprintf(text, sizeof text, texts::STATUS_SEARCH, found_count.load(std::memory_order_relaxed),
                          format_binary(current_candidate.load(std::memory_order_relaxed)).c_str());
            return text;
        case RUN_PAIR_SEARCH: {
            double checked = static_cast<double>(pairs_checked.load(std::memory_order_relaxed));
            double total = static_cast<double>(pairs_total.load(std::memory_order_relaxed));
            double percent = total > 0.0 ? checked / total * 100.0 : 0.0;
            std::snprintf(text, sizeof text, texts::STATUS_PAIRS, found_count.load(std::memory_order_relaxed),
                          percent);
            return text;
        }
        default:
            return {};
    }
}

JobProgress job_progress() {
    const std::uint64_t total = work_total.load(std::memory_order_relaxed);
    std::uint64_t done = 0;
    switch (setting(SET_RUN_STATE)) {
        case RUN_PRIMITIVE_SEARCH: {
            const std::uint32_t origin = work_origin.load(std::memory_order_relaxed);
            const std::uint32_t candidate = current_candidate.load(std::memory_order_relaxed);
            done = origin == 0 ? found_count.load(std::memory_order_relaxed)
                               : (candidate >= origin ? std::uint64_t{candidate} - origin : 0);
            break;
        }
        case RUN_GENERATE: done = generated_count.load(std::memory_order_relaxed); break;
        case RUN_CORRELATE: done = found_count.load(std::memory_order_relaxed); break;
        case RUN_PAIR_SEARCH:
            return {pairs_checked.load(std::memory_order_relaxed),
                    static_cast<std::uint64_t>(pairs_total.load(std::memory_order_relaxed))};
        default: return {0, 0};
    }
    return {done < total ? done : total, total};
}

std::string format_abort_text() {
    char text[128];
    switch (setting(SET_RUN_STATE)) {
        case RUN_PRIMITIVE_SEARCH:
            std::snprintf(text, sizeof text, texts::ABORTED_SEARCH,
                          format_binary(current_candidate.load(std::memory_order_relaxed)).c_str(),
                          found_count.load(std::memory_order_relaxed));
            return text;
        case RUN_PAIR_SEARCH:
            std::snprintf(text, sizeof text, texts::ABORTED_PAIRS,
                          static_cast<int>(found_count.load(std::memory_order_relaxed)));
            return text;
        case RUN_GENERATE:
        case RUN_CORRELATE:
            return texts::ABORTED;
        default:
            return {};
    }
}

void complete_abort() {
    std::string text = format_abort_text();
    finish_job();
    log_write(text);
    log_flush();
    status_set(text);
}

}  // namespace tapwell

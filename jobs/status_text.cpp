// Ring: jobs. See status_text.h.
#include "jobs/status_text.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "jobs/job_control.h"
#include "jobs/shared_state.h"

namespace tapwell {

namespace {
std::mutex status_mutex;

void write_at(std::size_t at, std::string_view text) {
    TextSlot& slot = text_slots[SLOT_STATUS];
    std::size_t n = std::min(text.size(), TEXT_SLOT_SIZE - 1 - at);
    std::memcpy(slot.data() + at, text.data(), n);
    slot[at + n] = '\0';
}
}  // namespace

void status_set(std::string_view text) {
    std::lock_guard lock(status_mutex);
    write_at(0, text);
}

void status_append(std::string_view text) {
    std::lock_guard lock(status_mutex);
    write_at(strnlen(text_slots[SLOT_STATUS].data(), TEXT_SLOT_SIZE - 1), text);
}

void status_set_while_running(std::string_view text) {
    std::lock_guard lock(status_mutex);
    if (job_state() == JOB_RUNNING) write_at(0, text);
}

std::string status_text() {
    std::lock_guard lock(status_mutex);
    return std::string(text_slots[SLOT_STATUS].data());
}

}  // namespace tapwell

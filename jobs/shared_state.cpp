// Ring: jobs. See shared_state.h.
#include "jobs/shared_state.h"

#include <cstring>

#include "jobs/status_text.h"

namespace tapwell {

std::array<std::atomic<std::int32_t>, SETTINGS_COUNT> Settings{};
std::array<TextSlot, TEXT_SLOT_COUNT> text_slots{};

std::atomic<std::uint32_t> found_count{0};
std::atomic<std::uint32_t> current_candidate{0};
std::atomic<std::uint32_t> pairs_checked{0};
std::atomic<float> pairs_total{0.0f};
std::atomic<std::uint32_t> generated_count{0};
std::atomic<std::uint64_t> work_total{0};
std::atomic<std::uint32_t> work_origin{0};

std::array<std::uint32_t, FOUND_LIST_CAPACITY> FoundList{};
std::uint32_t found_list_count = 0;

void set_text_slot(int slot, const char* text) {
    if (slot == SLOT_STATUS) {
        status_set(text);
        return;
    }
    std::size_t n = strnlen(text, TEXT_SLOT_SIZE - 1);
    std::memcpy(text_slots[slot].data(), text, n);
    text_slots[slot][n] = '\0';
}

const char* text_slot(int slot) { return text_slots[slot].data(); }

void clear_shared_state() {
    for (auto& s : Settings) s.store(0, std::memory_order_relaxed);
    for (auto& slot : text_slots) slot[0] = '\0';
    status_set("");
    found_count = 0;
    current_candidate = 0;
    pairs_checked = 0;
    pairs_total = 0.0f;
    generated_count = 0;
    work_total = 0;
    work_origin = 0;
    found_list_count = 0;
}

}  // namespace tapwell

// Ring: jobs. The process-wide records that jobs, commands and front ends share.
//
// Ownership, not locks, divides this state: while a job runs, the worker alone
// writes the counters, SLOT_RESULT and FoundList; the
// front-end thread only reads the counters. What both threads read or write is
// atomic (relaxed is enough: no value here guards another). SLOT_STATUS, the
// one text written by both threads, lives behind status_text.h.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace tapwell {

enum SettingIndex : int {
    SET_LANGUAGE = 0,  // 0 Japanese, 1 English
    SET_WIN_LEFT = 1,
    SET_WIN_TOP = 2,
    SET_WIN_RIGHT = 3,
    SET_WIN_BOTTOM = 4,
    SET_RUN_STATE = 10,
    SET_GEN_MODE = 13,       // a GenerationMode (tapwell/sequences.hpp): 0 serial, 1 parallel, 2 Gold
    SET_SHOW_REGISTER = 14,  // 0 or 1
};
constexpr int SETTINGS_COUNT = 20;

enum RunState : std::int32_t {
    RUN_NO_LOG = 0,
    RUN_IDLE = 1,
    RUN_PRIMITIVE_SEARCH = 2,
    RUN_GENERATE = 3,
    RUN_CORRELATE = 4,
    RUN_PAIR_SEARCH = 5,
};

enum TextSlotIndex : int {
    SLOT_LOG_PATH = 0,
    SLOT_SEARCH_FROM = 1,
    SLOT_FIND_COUNT = 2,
    SLOT_WIDTH = 4,
    SLOT_OUTPUT_COUNT = 6,
    SLOT_POLY_LIST = 7,
    SLOT_RESULT = 8,
    SLOT_STATUS = 9,
};
constexpr int TEXT_SLOT_COUNT = 10;
constexpr std::size_t TEXT_SLOT_SIZE = 2700;  // 2699 characters and a zero

using TextSlot = std::array<char, TEXT_SLOT_SIZE>;

extern std::array<std::atomic<std::int32_t>, SETTINGS_COUNT> Settings;
// Slot SLOT_STATUS is reached only through status_text.h.
extern std::array<TextSlot, TEXT_SLOT_COUNT> text_slots;

// Copies text into a slot, cut at 2699 characters.
void set_text_slot(int slot, const char* text);
const char* text_slot(int slot);

inline std::int32_t setting(int index) { return Settings[index].load(std::memory_order_relaxed); }
inline void set_setting(int index, std::int32_t value) {
    Settings[index].store(value, std::memory_order_relaxed);
}
// The language as an index into the bilingual tables: 0 or 1 whatever is stored.
inline int current_language() { return setting(SET_LANGUAGE) == 1 ? 1 : 0; }

// Progress counters, written by the running job, read for Status report, Abort
// and the console's progress line.
extern std::atomic<std::uint32_t> found_count;
// The next candidate of the primitive search not yet decided (see
// primitive_search.cpp): a search started from it neither repeats nor skips a find.
extern std::atomic<std::uint32_t> current_candidate;
extern std::atomic<std::uint32_t> pairs_checked;
extern std::atomic<float> pairs_total;
extern std::atomic<std::uint32_t> generated_count;  // values the running generation has written
// The running job's work in all, set at its start, for a front end that shows
// how far a job has come (job_progress in job_frame.h): the search's candidates
// (or its count of finds when the count stops it sooner), the values of a
// generation, the phases of a correlation. work_origin is the search's first
// candidate, 0 when the search is measured by its finds.
extern std::atomic<std::uint64_t> work_total;
extern std::atomic<std::uint32_t> work_origin;

// Finds of the last primitive search, in the order found; read by the pair search.
constexpr std::uint32_t FOUND_LIST_CAPACITY = 65000;
extern std::array<std::uint32_t, FOUND_LIST_CAPACITY> FoundList;
extern std::uint32_t found_list_count;

// Settings, text slots and counters back to their start values (tests, window creation).
void clear_shared_state();

}  // namespace tapwell

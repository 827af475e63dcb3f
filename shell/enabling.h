// Ring: shell. Which controls each run-control event enables and disables: one
// table, applied by the commands (log opened or closed, a job started) and by
// the end of a job, whether it ended by itself or by Abort.
#pragma once

#include <array>
#include <cstdint>

namespace tapwell {

enum EnablingEvent : int {
    EVENT_LOG_OPENED,
    EVENT_LOG_CLOSED,
    EVENT_SEARCH_STARTED,
    EVENT_GENERATION_STARTED,
    EVENT_SEARCH_FINISHED,    // the end of the two searches (finish_search_job, run_control.h)
    EVENT_GENERATE_FINISHED,  // the end of generation and correlation (finish_generate_job)
    ENABLING_EVENT_COUNT,
};

enum EnablingCell : std::int8_t { KEEP = 0, ON = 1, OFF = -1 };

struct EnablingRow {
    int control_id;  // a ControlId of layout_table.h
    std::array<EnablingCell, ENABLING_EVENT_COUNT> cell;
};

extern const std::array<EnablingRow, 18> enabling_matrix;

// Enables or disables one control: the window's EnableWindow, a test's recorder.
using EnableControl = void (*)(int control_id, bool enabled);

// Enables and disables, in table order, the controls that the event names.
void apply_enabling(EnablingEvent event, EnableControl enable);

}  // namespace tapwell

// Ring: jobs. Which controls each run-control event enables and disables.
// One table, read by the commands of the window program and by the end
// routines of the jobs.
#pragma once

#include <array>
#include <cstdint>

namespace tapwell {

class FrontEnd;

enum EnablingEvent : int {
    EVENT_LOG_OPENED,
    EVENT_LOG_CLOSED,
    EVENT_SEARCH_STARTED,
    EVENT_GENERATION_STARTED,
    EVENT_SEARCH_FINISHED,    // finish_search_job
    EVENT_GENERATE_FINISHED,  // finish_generate_job
    ENABLING_EVENT_COUNT,
};

enum EnablingCell : std::int8_t { KEEP = 0, ON = 1, OFF = -1 };

struct EnablingRow {
    int control_id;
    std::array<EnablingCell, ENABLING_EVENT_COUNT> cell;
};

extern const std::array<EnablingRow, 18> enabling_matrix;

// Enables and disables, in table order, the controls that the event names.
void apply_enabling(EnablingEvent event, FrontEnd& front_end);

}  // namespace tapwell

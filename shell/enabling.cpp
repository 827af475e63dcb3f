// Ring: shell. See enabling.h.
#include "shell/enabling.h"

#include "shell/layout_table.h"

namespace tapwell {

// Columns: log opened, log closed, search started, generation started,
// search finished, generation finished.
const std::array<EnablingRow, 18> enabling_matrix = {{
    {ID_LOG_SELECT, {OFF, ON, KEEP, KEEP, KEEP, KEEP}},
    {ID_LOG_END, {ON, OFF, OFF, OFF, ON, ON}},
    {ID_SEARCH_FROM, {KEEP, KEEP, OFF, KEEP, ON, KEEP}},
    {ID_FIND_COUNT, {KEEP, KEEP, OFF, KEEP, ON, KEEP}},
    {ID_SEARCH_START, {ON, OFF, OFF, OFF, ON, ON}},
    {ID_SEARCH_ABORT, {KEEP, KEEP, ON, KEEP, OFF, KEEP}},
    {ID_PAIR_SEARCH, {ON, OFF, OFF, OFF, ON, ON}},
    {ID_STATUS_REPORT, {KEEP, KEEP, ON, KEEP, OFF, KEEP}},
    {ID_MODE_SERIAL, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},
    {ID_MODE_PARALLEL, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},
    {ID_MODE_GOLD, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},
    {ID_WIDTH, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},
    {ID_SHOW_REGISTER, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},
    {ID_OUTPUT_COUNT, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},
    {ID_POLY_LIST, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},
    {ID_GENERATE_START, {ON, OFF, OFF, OFF, ON, ON}},
    {ID_GENERATE_ABORT, {KEEP, KEEP, KEEP, ON, KEEP, OFF}},
    {ID_CORRELATE, {ON, OFF, OFF, OFF, ON, ON}},
}};

void apply_enabling(EnablingEvent event, EnableControl enable) {
    for (const EnablingRow& row : enabling_matrix) {
        EnablingCell c = row.cell[event];
        if (c != KEEP) enable(row.control_id, c == ON);
    }
}

}  // namespace tapwell

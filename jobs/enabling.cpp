// Ring: jobs. See enabling.h.
#include "jobs/enabling.h"

#include "jobs/front_end.h"

namespace tapwell {

// Columns: log opened, log closed, search started, generation started,
// finish_search_job, finish_generate_job.
const std::array<EnablingRow, 18> enabling_matrix = {{
    {4, {OFF, ON, KEEP, KEEP, KEEP, KEEP}},   // Log file select
    {6, {ON, OFF, OFF, OFF, ON, ON}},         // End of logging
    {11, {KEEP, KEEP, OFF, KEEP, ON, KEEP}},  // edit: Searching from
    {13, {KEEP, KEEP, OFF, KEEP, ON, KEEP}},  // edit: Number of find
    {14, {ON, OFF, OFF, OFF, ON, ON}},        // Start (search)
    {15, {KEEP, KEEP, ON, KEEP, OFF, KEEP}},  // Abort (search)
    {16, {ON, OFF, OFF, OFF, ON, ON}},        // P.P. search
    {17, {KEEP, KEEP, ON, KEEP, OFF, KEEP}},  // Status report
    {22, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},  // mode: serial
    {23, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},  // mode: parallel
    {24, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},  // mode: Gold
    {29, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},  // edit: Width of output bit
    {35, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},  // check: register values
    {37, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},  // edit: Number of output
    {39, {KEEP, KEEP, KEEP, OFF, KEEP, ON}},  // edit: polynomial list
    {40, {ON, OFF, OFF, OFF, ON, ON}},        // Start (generation)
    {41, {KEEP, KEEP, KEEP, ON, KEEP, OFF}},  // Abort (generation)
    {42, {ON, OFF, OFF, OFF, ON, ON}},        // correlation
}};

void apply_enabling(EnablingEvent event, FrontEnd& front_end) {
    for (const EnablingRow& row : enabling_matrix) {
        EnablingCell c = row.cell[event];
        if (c != KEEP) front_end.set_control_enabled(row.control_id, c == ON);
    }
}

}  // namespace tapwell

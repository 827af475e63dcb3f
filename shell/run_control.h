// Ring: shell. The commands of the main window as data: what each control id
// does, which job each start button runs in which run state, and how the run
// state moves on the log-file events and at a job's end. Platform-free; the
// Win32 command handler looks everything up here and applies the enabling of
// enabling.h through its own EnableControl.
#pragma once

#include <cstdint>

#include "jobs/job_outcome.h"
#include "jobs/shared_state.h"
#include "shell/enabling.h"
#include "shell/layout_table.h"

namespace tapwell {

enum class CommandAction {
    none,
    language,
    default_size,
    log_select,
    log_end,
    exit,
    start_job,
    abort_job,
    status_report,
    radio,
    check,
};

// The action of a control id (anything out of range does nothing).
CommandAction command_action(int control_id);

// The two end routines, on the front end's thread once a job has ended by
// itself: the enabling of the job's end, then the jobs' part (finish_job:
// RUN_IDLE, no job running). finish_search_job ends the two searches,
// finish_generate_job generation and correlation.
void finish_search_job(EnableControl enable);
void finish_generate_job(EnableControl enable);
using EndRoutine = void (*)(EnableControl enable);

struct JobStart {
    int control_id;
    JobFunction job;
    RunState run_state;
    EnablingEvent started;   // applied once the worker runs
    EndRoutine end_routine;  // run when the job ends by itself
    // The enabling of that end routine; Abort applies it alone, having run
    // the jobs' part already (complete_abort, jobs/job_frame.h).
    EnablingEvent finished;
};

// The start entry of a start button, or nullptr.
const JobStart* job_start_for(int control_id);

// The end routine of a job that ended by itself.
void run_end_routine(const JobStart& start, EnableControl enable);

// Status report: the running job's progress replaces the status text. Once the
// job is ending (its final text may already stand, while the run state is still
// the job's until the end routine runs) nothing is written.
void report_status();

// Run-state changes of the log-file commands (a job's start and end are in
// JobStart and the jobs' end routines).
enum class LogEvent { opened, closed };
struct RunTransition {
    LogEvent event;
    RunState next_state;
    EnablingEvent enabling;
};
const RunTransition& log_transition(LogEvent event);
// Sets the run state and applies the enabling of the transition.
void apply_log_transition(LogEvent event, EnableControl enable);

// 0 and 1 alternate.
std::int32_t toggled_language(std::int32_t language);

// A press on radio button `id`: the button whose mark to clear (-1: none of
// the group, when the stored choice is out of range) and the new choice.
struct RadioChange {
    int clear_id;
    int set_id;
    std::int32_t value;
};
RadioChange radio_change(int id, std::int32_t current_value);
// Whether a radio button shows as chosen for a stored value.
bool radio_checked(int id, std::int32_t value);

// How many mode buttons the radio group has (ids aux .. aux + count - 1).
int radio_group_size(int first_id);

}  // namespace tapwell

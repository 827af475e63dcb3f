// Ring: jobs. What the four jobs share: their start, the parameter message,
// the display cap, their end, and the texts of Status report and Abort.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell {

// Empties SLOT_STATUS and SLOT_RESULT and asks for a repaint; the result box
// keeps showing the previous result until the first line arrives.
void begin_job(FrontEnd& front_end);

// A job that refuses its parameters: appends "Invalid parameter\n" in the
// current language to the status text, logs nothing, and ends the job.
// Returns rejected (stopped when Abort claimed the end first).
JobOutcome reject_parameters(FrontEnd& front_end);

// Appends line and CR LF to SLOT_RESULT and shows the whole slot.
void append_result_line(FrontEnd& front_end, std::string_view line);

// The display cap for item `index` (from 0): below the cap the line is shown,
// at the cap the note is appended to the status text, above it nothing.
void show_item(FrontEnd& front_end, std::uint32_t index, std::uint32_t cap,
               std::string_view line, std::string_view note);

// The end of a job that ran to its end: logs the final text (if any), flushes
// the log, makes the final text the whole status and asks for a repaint. Returns
// finished; writes nothing and returns stopped when Abort claimed the end first,
// and write_failed, with no final text in the log or the status, when the log
// could not be written.
JobOutcome close_job(FrontEnd& front_end, std::string_view final_text);

// Status report text for the current run state; empty for states without one
// (a job that ended at the moment the button was pressed).
std::string format_status_report();
// How far the running job has come, in units of its own work; total 0 when
// nothing runs or its size is unknown.
struct JobProgress {
    std::uint64_t done;
    std::uint64_t total;
};
JobProgress job_progress();

// Abort text for the current run state; empty for RUN_NO_LOG and RUN_IDLE.
std::string format_abort_text();

// Abort, after the user confirmed it, on the front end's thread. wait_for_worker
// must return once the worker thread has returned. Writes the abort text and
// runs the jobs' part of the end routine (finish_job); the caller applies its
// own (the window's enabling) when this returns true. Returns false, having
// written nothing, when no job runs or the job is already ending by itself.
template <typename WaitForWorker>
bool abort_running_job(WaitForWorker&& wait_for_worker);

// The part of Abort after the worker is gone; used by abort_running_job.
void complete_abort();

}  // namespace tapwell

#include "jobs/job_control.h"

template <typename WaitForWorker>
bool tapwell::abort_running_job(WaitForWorker&& wait_for_worker) {
    if (!claim_job_abort()) return false;
    wait_for_worker();
    complete_abort();
    return true;
}

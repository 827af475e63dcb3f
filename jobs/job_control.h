// Ring: jobs. Who ends a job: the job itself or Abort. Abort is cooperative: a
// stop flag that every job polls at each item and at bounded intervals inside
// long inner loops. A thread is never killed, so nothing it holds (the log
// stream, the heap) is left locked.
//
// The end of a job is claimed once, by the worker (it ended by itself) or by the
// aborting thread, so an abort text never follows a job's final text and a job
// that has been aborted writes nothing more.
#pragma once

#include <atomic>

namespace tapwell {

enum JobState : int { JOB_NONE, JOB_RUNNING, JOB_FINISHING, JOB_ABORTING };

extern std::atomic<bool> stop_requested;

// The front end, before it starts a worker.
void mark_job_started();
// What a start command does before its job runs: the run state (RunState of
// shared_state.h) set, then the job marked as started.
void begin_started_job(int run_state);
// The worker, before it writes its final text: false when Abort came first.
bool claim_job_end();
// The aborting thread: true when it is now the one to end the job (the stop flag
// is then set); false when no job runs or the job is already ending by itself.
bool claim_job_abort();
// The end routines, once the job is over either way.
void mark_job_over();

JobState job_state();
// Whether the last job rejected its parameters (for exit codes of the console).
bool last_job_rejected();
void mark_job_rejected();

inline bool stop_pending() { return stop_requested.load(std::memory_order_relaxed); }

}  // namespace tapwell

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

#include "jobs/job_outcome.h"
#include "runtime/log_stream.h"

namespace tapwell {

enum JobState : int { JOB_NONE, JOB_RUNNING, JOB_FINISHING, JOB_ABORTING };

extern std::atomic<bool> stop_requested;

// What a start command does before its job runs: the run state (RunState of
// shared_state.h) set, the stop flag cleared, the job marked as running.
void begin_started_job(int run_state);
// The worker, before it writes its final text: false when Abort came first.
bool claim_job_end();
// The aborting thread: true when it is now the one to end the job (the stop flag
// is then set); false when no job runs or the job is already ending by itself.
bool claim_job_abort();
// The part of every end routine that is the jobs' own, run on the front end's
// thread once the job is over either way (or when its worker could not be
// started): back to RUN_IDLE, no job running.
void finish_job();

JobState job_state();

// What every job polls: Abort, or a log that can no longer be written (there
// is no use going on: nothing more reaches that file).
inline bool stop_pending() { return stop_requested.load(std::memory_order_relaxed) || log_failed(); }

// Runs a job on the worker and says how it ended: a job that stopped because
// its log failed, with nobody aborting it, ends as write_failed (the end is
// claimed here, so Abort and Status report then find a job that has ended).
JobOutcome run_job(JobFunction job, FrontEnd& front_end);

// Runs a job on this thread from start to end, as a start command and the end
// routine would around it (no controls to enable): for the benchmarks, the
// fuzz targets and the tests.
JobOutcome run_job_here(JobFunction job, int run_state, FrontEnd& front_end);

}  // namespace tapwell

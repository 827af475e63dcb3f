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
#include <stop_token>

#include "jobs/job_outcome.h"
#include "runtime/log_stream.h"

namespace tapwell {

enum JobState : int { JOB_NONE, JOB_RUNNING, JOB_FINISHING, JOB_ABORTING };

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

// The running job's stop token, which Abort (claim_job_abort) asks to stop:
// what a job hands the library's computations. Set anew by begin_started_job.
std::stop_token job_stop_token();
// What every job polls: Abort, or a log that can no longer be written (there
// is no use going on: nothing more reaches that file).
bool stop_pending();

// The threads the window's jobs may use: 0 for all the machine's cores (the
// window), or what tapwell-cli --threads says.
int job_threads();
void set_job_threads(int threads);

// Runs a job on the worker and says how it ended: a job that stopped because
// its log failed, with nobody aborting it, ends as write_failed (the end is
// claimed here, so Abort and Status report then find a job that has ended).
JobOutcome run_job(const JobTask& job, FrontEnd& front_end);

// Runs a job on this thread from start to end, as a start command and the end
// routine would around it (no controls to enable): for the benchmarks, the
// fuzz targets and the tests.
JobOutcome run_job_here(const JobTask& job, int run_state, FrontEnd& front_end);

}  // namespace tapwell

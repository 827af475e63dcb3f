// Ring: jobs. See job_control.h.
#include "jobs/job_control.h"

#include "jobs/shared_state.h"

namespace tapwell {

std::atomic<bool> stop_requested{false};

namespace {
std::atomic<int> state{JOB_NONE};

bool move_state(int from, int to) {
    return state.compare_exchange_strong(from, to, std::memory_order_acq_rel);
}
}  // namespace

void begin_started_job(int run_state) {
    set_setting(SET_RUN_STATE, run_state);
    stop_requested.store(false, std::memory_order_relaxed);
    state.store(JOB_RUNNING, std::memory_order_release);
}

bool claim_job_end() { return move_state(JOB_RUNNING, JOB_FINISHING); }

bool claim_job_abort() {
    if (!move_state(JOB_RUNNING, JOB_ABORTING)) return false;
    stop_requested.store(true, std::memory_order_relaxed);
    return true;
}

void finish_job() {
    set_setting(SET_RUN_STATE, RUN_IDLE);
    state.store(JOB_NONE, std::memory_order_release);
}

JobState job_state() { return static_cast<JobState>(state.load(std::memory_order_acquire)); }

JobOutcome run_job(JobFunction job, FrontEnd& front_end) {
    const JobOutcome outcome = job(front_end);
    if (outcome == JobOutcome::stopped && log_failed() && claim_job_end()) return JobOutcome::write_failed;
    return outcome;
}

JobOutcome run_job_here(JobFunction job, int run_state, FrontEnd& front_end) {
    begin_started_job(run_state);
    const JobOutcome outcome = run_job(job, front_end);
    if (outcome != JobOutcome::stopped) finish_job();
    return outcome;
}

}  // namespace tapwell

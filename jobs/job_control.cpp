// Ring: jobs. See job_control.h.
#include "jobs/job_control.h"

#include "jobs/shared_state.h"

namespace tapwell {

namespace {
// A new source for each job: a token handed to an earlier job never stops a later one.
std::stop_source job_stop;
std::atomic<int> configured_threads{0};
std::atomic<int> state{JOB_NONE};

bool move_state(int from, int to) {
    return state.compare_exchange_strong(from, to, std::memory_order_acq_rel);
}
}  // namespace

void begin_started_job(int run_state) {
    set_setting(SET_RUN_STATE, run_state);
    job_stop = std::stop_source();
    state.store(JOB_RUNNING, std::memory_order_release);
}

bool claim_job_end() { return move_state(JOB_RUNNING, JOB_FINISHING); }

bool claim_job_abort() {
    if (!move_state(JOB_RUNNING, JOB_ABORTING)) return false;
    job_stop.request_stop();
    return true;
}

void finish_job() {
    set_setting(SET_RUN_STATE, RUN_IDLE);
    state.store(JOB_NONE, std::memory_order_release);
}

std::stop_token job_stop_token() { return job_stop.get_token(); }
bool stop_pending() { return job_stop.stop_requested() || log_failed(); }

int job_threads() { return configured_threads.load(std::memory_order_relaxed); }
void set_job_threads(int threads) { configured_threads.store(threads > 0 ? threads : 0, std::memory_order_relaxed); }

JobState job_state() { return static_cast<JobState>(state.load(std::memory_order_acquire)); }

JobOutcome run_job(const JobTask& job, FrontEnd& front_end) {
    const JobOutcome outcome = job(front_end);
    if (outcome == JobOutcome::stopped && log_failed() && claim_job_end()) return JobOutcome::write_failed;
    return outcome;
}

JobOutcome run_job_here(const JobTask& job, int run_state, FrontEnd& front_end) {
    begin_started_job(run_state);
    const JobOutcome outcome = run_job(job, front_end);
    if (outcome != JobOutcome::stopped) finish_job();
    return outcome;
}

}  // namespace tapwell

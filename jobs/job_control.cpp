// Ring: jobs. See job_control.h.
#include "jobs/job_control.h"

#include "jobs/shared_state.h"

namespace tapwell {

std::atomic<bool> stop_requested{false};

namespace {
std::atomic<int> state{JOB_NONE};
std::atomic<bool> rejected{false};

bool move_state(int from, int to) {
    return state.compare_exchange_strong(from, to, std::memory_order_acq_rel);
}
}  // namespace

void mark_job_started() {
    stop_requested.store(false, std::memory_order_relaxed);
    rejected.store(false, std::memory_order_relaxed);
    state.store(JOB_RUNNING, std::memory_order_release);
}

void begin_started_job(int run_state) {
    set_setting(SET_RUN_STATE, run_state);
    mark_job_started();
}

bool claim_job_end() { return move_state(JOB_RUNNING, JOB_FINISHING); }

bool claim_job_abort() {
    if (!move_state(JOB_RUNNING, JOB_ABORTING)) return false;
    stop_requested.store(true, std::memory_order_relaxed);
    return true;
}

void mark_job_over() { state.store(JOB_NONE, std::memory_order_release); }

JobState job_state() { return static_cast<JobState>(state.load(std::memory_order_acquire)); }

bool last_job_rejected() { return rejected.load(std::memory_order_relaxed); }
void mark_job_rejected() { rejected.store(true, std::memory_order_relaxed); }

}  // namespace tapwell

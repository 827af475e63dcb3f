// Ring: bench. Runs a job on the calling thread, as the console would, with a
// front end that shows nothing, so that it can be timed.
#pragma once

#include "jobs/job_control.h"
#include "jobs/quiet_front_end.h"

namespace tapwell::bench {

// Runs a job as a start command would: run state set, job marked as started.
template <typename Job>
void run_job(Job job, int run_state) {
    QuietFrontEnd front;
    begin_started_job(run_state);
    job(front);
}

}  // namespace tapwell::bench

// Ring: bench. A front end that shows nothing and runs the end routine at once,
// so a job can be timed on the calling thread as the console would run it.
#pragma once

#include "jobs/front_end.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/shared_state.h"

namespace tapwell::bench {

class QuietFrontEnd final : public FrontEnd {
public:
    void show_result(const char*) override {}
    void request_repaint() override {}
    void set_control_enabled(int, bool) override {}
    void end_job(EndRoutine routine) override { run_end_routine(routine, *this); }
};

// Runs a job as a start command would: run state set, job marked as started.
template <typename Job>
void run_job(Job job, int run_state) {
    QuietFrontEnd front;
    set_setting(SET_RUN_STATE, run_state);
    mark_job_started();
    job(front);
}

}  // namespace tapwell::bench

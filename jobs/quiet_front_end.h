// Ring: jobs. A front end that shows nothing and runs the end routine at once,
// on the job's own thread: for running a job straight through where nobody
// watches (the benchmarks, the fuzz targets, the console).
#pragma once

#include "jobs/front_end.h"
#include "jobs/job_frame.h"

namespace tapwell {

class QuietFrontEnd final : public FrontEnd {
public:
    void show_result(const char*) override {}
    void request_repaint() override {}
    void set_control_enabled(int, bool) override {}
    void end_job(EndRoutine routine) override { run_end_routine(routine, *this); }
};

}  // namespace tapwell

// Ring: tests. A front end that records what a job asks of the world, and a
// fixture that gives each test a fresh process-wide state and a log in a
// temporary file that it can read back.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell::testing {

class RecordingFrontEnd final : public FrontEnd {
public:
    void show_result(const char* text) override;
    void request_repaint() override;

    std::vector<std::string> shown;  // each text the result box was given
    int repaints = 0;

private:
    std::mutex mutex_;
};

class JobFixture {
public:
    JobFixture();
    ~JobFixture();
    // Everything logged so far (flushes first).
    std::string log_text();
    std::vector<std::string> log_lines();
    // Runs the job on this thread from its start to its end routine, as a
    // start command and the end of the job would.
    JobOutcome run(JobFunction job, int run_state);

    RecordingFrontEnd front;
    std::string log_path;
};

}  // namespace tapwell::testing

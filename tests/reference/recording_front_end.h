// Ring: tests. A front end that records what a job asks of the world, runs the
// end routine at once, and keeps the log in a temporary file that tests read.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "jobs/front_end.h"

namespace tapwell::testing {

class RecordingFrontEnd final : public FrontEnd {
public:
    void show_result(const char* text) override;
    void request_repaint() override;
    void set_control_enabled(int control_id, bool enabled) override;
    void end_job(EndRoutine routine) override;

    std::vector<std::string> shown;  // each text the result box was given
    int repaints = 0;
    std::vector<EndRoutine> ended;
    std::map<int, bool> enabled;

private:
    std::mutex mutex_;
};

// A fresh process-wide state and a log in a new temporary file.
class JobFixture {
public:
    JobFixture();
    ~JobFixture();
    // Everything logged so far (flushes first).
    std::string log_text();
    std::vector<std::string> log_lines();
    // Sets the slots and runs the job on this thread, as a start command would.
    template <typename Job>
    int run(Job job, int run_state);

    RecordingFrontEnd front;
    std::string log_path;
};

void mark_started(int run_state);

template <typename Job>
int JobFixture::run(Job job, int run_state) {
    mark_started(run_state);
    return job(front);
}

}  // namespace tapwell::testing

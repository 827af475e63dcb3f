// Ring: tests. A front end that records what a job asks of the world, and a
// fixture that gives each test a fresh process-wide state and a log in a
// temporary file that it can read back.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
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

// A job with its input bound, as tapwell-cli binds one: the input is copied
// (a PairsInput's list is only pointed at and must outlive the task).
template <typename Input>
JobTask bound(JobOutcome (*job)(FrontEnd&, const Input&), Input input) {
    return [job, input = std::move(input)](FrontEnd& front_end) { return job(front_end, input); };
}

class JobFixture {
public:
    JobFixture();
    ~JobFixture();
    // Everything logged so far (flushes first).
    std::string log_text();
    std::vector<std::string> log_lines();
    // Runs the job on this thread from its start to its end routine, as a
    // start command and the end of the job would.
    JobOutcome run(const JobTask& job, int run_state);
    // The pair search on this list and count (0: every pair), not on the
    // window's FoundList.
    JobOutcome run_pairs(const std::vector<std::uint32_t>& list, std::uint32_t limit);

    RecordingFrontEnd front;
    std::string log_path;
};

}  // namespace tapwell::testing

// Ring: tests. See recording_front_end.h.
#include "tests/reference/recording_front_end.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "jobs/job_control.h"
#include "jobs/preferred_pairs.h"
#include "runtime/log_stream.h"
#include "jobs/shared_state.h"

namespace tapwell::testing {

void RecordingFrontEnd::show_result(const char* text) {
    std::lock_guard lock(mutex_);
    shown.emplace_back(text);
}

void RecordingFrontEnd::request_repaint() {
    std::lock_guard lock(mutex_);
    ++repaints;
}

JobOutcome JobFixture::run(const JobTask& job, int run_state) { return run_job_here(job, run_state, front); }

JobOutcome JobFixture::run_pairs(const std::vector<std::uint32_t>& list, std::uint32_t limit) {
    const PairsInput input{list.data(), static_cast<std::uint32_t>(list.size()), limit};
    return run(bound(run_pair_search, input), RUN_PAIR_SEARCH);
}

JobFixture::JobFixture() {
    clear_shared_state();
    char path[] = "/tmp/tapwell-test-log-XXXXXX";
    int fd = mkstemp(path);
    if (fd >= 0) close(fd);
    log_path = path;
    log_open(log_path.c_str());
    set_setting(SET_RUN_STATE, RUN_IDLE);
}

JobFixture::~JobFixture() {
    log_close();
    std::remove(log_path.c_str());
}

std::string JobFixture::log_text() {
    log_flush();
    std::ifstream in(log_path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> JobFixture::log_lines() {
    std::vector<std::string> lines;
    std::istringstream in(log_text());
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

}  // namespace tapwell::testing

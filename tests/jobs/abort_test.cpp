// Ring: tests. Abort from another thread: the job stops, the abort text is the
// log's last line, and the next job runs normally. Runs under ThreadSanitizer.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/primitive_search.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

using testing::JobFixture;

// Starts a search on a worker thread and aborts it once it is inside the work.
std::string abort_search(JobFixture& f, const std::string& from) {
    set_text_slot(SLOT_SEARCH_FROM, from.c_str());
    set_text_slot(SLOT_FIND_COUNT, "0");
    testing::mark_started(RUN_PRIMITIVE_SEARCH);
    std::thread worker([&] { search_primitive(f.front); });
    while (current_candidate.load() == 0) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    bool aborted = abort_running_job(f.front, [&] { worker.join(); });
    EXPECT_TRUE(aborted);
    EXPECT_FALSE(worker.joinable());
    return status_text();
}

TEST(Abort, StopsSearchesOfHighDegree) {
    for (int n : {24, 32}) {
        JobFixture f;
        std::string from = "1" + std::string(n - 1, '0') + "1";
        std::string text = abort_search(f, from);
        EXPECT_EQ(text.rfind("aborted at ", 0), 0u) << text;
        std::string log = f.log_text();
        EXPECT_EQ(log.substr(log.size() - text.size()), text);
        EXPECT_EQ(log.find("Finished."), std::string::npos);
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
        EXPECT_EQ(job_state(), JOB_NONE);
        EXPECT_TRUE(f.front.ended.empty());  // the job did not run its own end
        EXPECT_TRUE(f.front.enabled.at(14));

        // The next search logs normally after the abort text.
        set_text_slot(SLOT_SEARCH_FROM, "10011");
        testing::mark_started(RUN_PRIMITIVE_SEARCH);
        search_primitive(f.front);
        std::string after = f.log_text().substr(log.size());
        EXPECT_EQ(after, "n=4, from=10011\n10011\n11001\nFinished. found=2\n");
    }
}

TEST(Abort, AfterTheJobEndedWritesNothing) {
    JobFixture f;
    set_text_slot(SLOT_SEARCH_FROM, "10011");
    testing::mark_started(RUN_PRIMITIVE_SEARCH);
    std::thread worker([&] { search_primitive(f.front); });
    worker.join();
    std::string log = f.log_text();
    EXPECT_FALSE(abort_running_job(f.front, [] {}));
    EXPECT_EQ(f.log_text(), log);
    EXPECT_EQ(status_text(), "Finished. found=2\n");
}

}  // namespace
}  // namespace tapwell

// Ring: tests. What every job shares: the Status report and abort texts, the
// display cap, the slots' bounds, the log at every end.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "runtime/log_stream.h"
#include "jobs/system_texts.h"
#include "jobs/primitive_search.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

TEST(JobFrame, StatusReportTexts) {
    clear_shared_state();
    struct Case {
        int state;
        std::uint32_t found, candidate, checked;
        float total;
        std::string text;
    };
    const Case cases[] = {
        {RUN_PRIMITIVE_SEARCH, 3, 0b1001, 0, 0, "found=3, checking 1001\n"},
        {RUN_PAIR_SEARCH, 3, 0, 4567, 10000, "found=3, checked 45.67%\n"},
        {RUN_PAIR_SEARCH, 0, 0, 0, 15, "found=0, checked 0.00%\n"},
        {RUN_PAIR_SEARCH, 90, 0, 153, 153, "found=90, checked 100.00%\n"},
        {RUN_GENERATE, 1, 1, 1, 1, ""},
        {RUN_IDLE, 1, 1, 1, 1, ""},
    };
    for (const auto& c : cases) {
        set_setting(SET_RUN_STATE, c.state);
        found_count = c.found;
        current_candidate = c.candidate;
        pairs_checked = c.checked;
        pairs_total = c.total;
        EXPECT_EQ(format_status_report(), c.text);
    }
}

TEST(JobFrame, AbortTexts) {
    clear_shared_state();
    found_count = 2;
    current_candidate = 0b1100;
    const std::pair<int, std::string> cases[] = {
        {RUN_PRIMITIVE_SEARCH, "aborted at 1100, found=2\n"},
        {RUN_PAIR_SEARCH, "aborted. found = 2\n"},
        {RUN_GENERATE, "aborted.\n"},
        {RUN_CORRELATE, "aborted.\n"},
        {RUN_IDLE, ""},
        {RUN_NO_LOG, ""},
    };
    for (const auto& [state, text] : cases) {
        set_setting(SET_RUN_STATE, state);
        EXPECT_EQ(format_abort_text(), text);
    }
}

TEST(JobFrame, DisplayCapShowsNotesOnceAndNothingAfter) {
    testing::JobFixture f;
    for (std::uint32_t i = 0; i < 5; ++i) show_item(f.front, i, 2, "line", "more...");
    EXPECT_EQ(f.front.shown.size(), 2u);
    EXPECT_STREQ(text_slot(SLOT_RESULT), "line\r\nline\r\n");
    EXPECT_EQ(status_text(), "more...");
}

TEST(JobFrame, StatusAndResultStayWithinTheirSlots) {
    testing::JobFixture f;
    std::string big(3000, 'x');
    status_set(big);
    EXPECT_EQ(status_text().size(), TEXT_SLOT_SIZE - 1);
    status_append("more");
    EXPECT_EQ(status_text().size(), TEXT_SLOT_SIZE - 1);
    for (int i = 0; i < 100; ++i) append_result_line(f.front, std::string(40, 'y'));
    EXPECT_EQ(std::string(text_slot(SLOT_RESULT)).size(), TEXT_SLOT_SIZE - 1);
}

// What the file holds now, without flushing the log first.
std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(JobFrame, TheLogReachesTheFileAtEveryEnd) {
    testing::JobFixture f;
    // A job that ends by itself leaves all its lines in the file...
    f.run(testing::bound(run_primitive_search, read_search_input("10011", "")), RUN_PRIMITIVE_SEARCH);
    EXPECT_EQ(file_text(f.log_path), "n=4, from=10011\n10011\n11001\nFinished. found=2\n");
    // ...and so does an aborted one, up to and with its abort text.
    begin_started_job(RUN_PRIMITIVE_SEARCH);
    log_write_line("n=3, from=1011");
    current_candidate = 0b101;
    found_count = 0;
    ASSERT_TRUE(abort_running_job([] {}));
    EXPECT_EQ(file_text(f.log_path).substr(46), "n=3, from=1011\naborted at 101, found=0\n");
}

}  // namespace
}  // namespace tapwell

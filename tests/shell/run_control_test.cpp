// Ring: tests. The command table, the job starts, the log transitions and the
// radio group arithmetic.
#include <gtest/gtest.h>

#include "jobs/cross_correlation.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/preferred_pairs.h"
#include "jobs/primitive_search.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "shell/run_control.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

TEST(RunControl, CommandTable) {
    struct Case {
        int id;
        CommandAction action;
    };
    const Case cases[] = {
        {0, CommandAction::none},           {1, CommandAction::language},
        {2, CommandAction::default_size},   {4, CommandAction::log_select},
        {6, CommandAction::log_end},        {7, CommandAction::exit},
        {14, CommandAction::start_job},     {15, CommandAction::abort_job},
        {16, CommandAction::start_job},     {17, CommandAction::status_report},
        {20, CommandAction::none},          {22, CommandAction::radio},
        {24, CommandAction::radio},         {25, CommandAction::none},
        {35, CommandAction::check},         {40, CommandAction::start_job},
        {41, CommandAction::abort_job},     {42, CommandAction::start_job},
        {43, CommandAction::none},          {-1, CommandAction::none},
        {65535, CommandAction::none},
    };
    for (const Case& c : cases) EXPECT_EQ(command_action(c.id), c.action) << c.id;
}

TEST(RunControl, JobStarts) {
    const JobStart expected[] = {
        {ID_SEARCH_START, search_primitive, RUN_PRIMITIVE_SEARCH, EVENT_SEARCH_STARTED},
        {ID_PAIR_SEARCH, search_preferred_pairs, RUN_PAIR_SEARCH, EVENT_SEARCH_STARTED},
        {ID_GENERATE_START, generate_sequences, RUN_GENERATE, EVENT_GENERATION_STARTED},
        {ID_CORRELATE, correlate_pair, RUN_CORRELATE, EVENT_GENERATION_STARTED},
    };
    for (const JobStart& e : expected) {
        const JobStart* s = job_start_for(e.control_id);
        ASSERT_NE(s, nullptr) << e.control_id;
        EXPECT_EQ(s->job, e.job) << e.control_id;
        EXPECT_EQ(s->run_state, e.run_state) << e.control_id;
        EXPECT_EQ(s->started, e.started) << e.control_id;
    }
    EXPECT_EQ(job_start_for(ID_SEARCH_ABORT), nullptr);
    EXPECT_EQ(end_routine_for(RUN_PRIMITIVE_SEARCH), EndRoutine::search);
    EXPECT_EQ(end_routine_for(RUN_PAIR_SEARCH), EndRoutine::search);
    EXPECT_EQ(end_routine_for(RUN_GENERATE), EndRoutine::generate);
    EXPECT_EQ(end_routine_for(RUN_CORRELATE), EndRoutine::generate);
}

TEST(RunControl, LogTransitions) {
    testing::RecordingFrontEnd front;
    clear_shared_state();
    apply_log_transition(LogEvent::opened, front);
    EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
    EXPECT_FALSE(front.enabled.at(ID_LOG_SELECT));
    for (int id : {6, 14, 16, 40, 42}) EXPECT_TRUE(front.enabled.at(id)) << id;
    EXPECT_EQ(front.enabled.count(ID_SEARCH_ABORT), 0u);
    apply_log_transition(LogEvent::closed, front);
    EXPECT_EQ(setting(SET_RUN_STATE), RUN_NO_LOG);
    EXPECT_TRUE(front.enabled.at(ID_LOG_SELECT));
    for (int id : {6, 14, 16, 40, 42}) EXPECT_FALSE(front.enabled.at(id)) << id;
}

// A press on Status report between the job's own end (its final text stands)
// and the end routine, which alone moves the run state back to idle.
TEST(RunControl, StatusReportLeavesFinalText) {
    testing::JobFixture f;
    testing::mark_started(RUN_PRIMITIVE_SEARCH);
    found_count = 3;
    current_candidate = 0b10011;
    report_status();
    EXPECT_EQ(status_text(), "found=3, checking 10011\n");
    ASSERT_TRUE(claim_job_end());
    status_set("final\n");
    report_status();
    EXPECT_EQ(status_text(), "final\n");
    mark_job_over();
    set_setting(SET_RUN_STATE, RUN_IDLE);
    report_status();
    EXPECT_EQ(status_text(), "final\n");
}

TEST(RunControl, LanguageAndRadioGroup) {
    EXPECT_EQ(toggled_language(0), 1);
    EXPECT_EQ(toggled_language(1), 0);
    EXPECT_EQ(radio_group_size(22), 3);

    struct Case {
        int id;
        int current;
        RadioChange expected;
    };
    const Case cases[] = {
        {24, 0, {22, 24, 2}},
        {23, 1, {23, 23, 1}},   // the chosen one again: stays chosen
        {22, 3, {-1, 22, 0}},   // stored value outside the group: nothing to clear
        {22, -1, {-1, 22, 0}},
    };
    for (const Case& c : cases) {
        RadioChange r = radio_change(c.id, c.current);
        EXPECT_EQ(r.clear_id, c.expected.clear_id) << c.id << "/" << c.current;
        EXPECT_EQ(r.set_id, c.expected.set_id);
        EXPECT_EQ(r.value, c.expected.value);
    }
    EXPECT_TRUE(radio_checked(24, 2));
    EXPECT_FALSE(radio_checked(22, 3));
    EXPECT_FALSE(radio_checked(22, -1));
}

}  // namespace
}  // namespace tapwell

namespace tapwell {
namespace {

// The whole cycle as the window runs it: log opened, a start button's entry
// applied, the job run, its end routine, log closed. What is enabled at each
// step comes from the one enabling table.
TEST(RunControl, StartAndEndCycle) {
    testing::JobFixture f;
    apply_log_transition(LogEvent::opened, f.front);
    for (int id : {ID_SEARCH_START, ID_GENERATE_START}) {
        const JobStart& start = *job_start_for(id);
        set_text_slot(SLOT_SEARCH_FROM, "10011");
        set_text_slot(SLOT_FIND_COUNT, "0");
        set_text_slot(SLOT_WIDTH, "1");
        set_text_slot(SLOT_OUTPUT_COUNT, "0");
        set_text_slot(SLOT_POLY_LIST, "10011\r\n1");
        apply_job_start(start, f.front);
        EXPECT_EQ(setting(SET_RUN_STATE), start.run_state);
        EXPECT_FALSE(f.front.enabled.at(ID_SEARCH_START));
        EXPECT_FALSE(f.front.enabled.at(ID_LOG_END));
        bool search = start.started == EVENT_SEARCH_STARTED;
        EXPECT_EQ(f.front.enabled.at(search ? ID_SEARCH_ABORT : ID_GENERATE_ABORT), true);
        testing::mark_started(start.run_state);
        start.job(f.front);  // the recording front end runs the end routine at once
        ASSERT_EQ(f.front.ended.size(), 1u);
        EXPECT_EQ(f.front.ended[0], end_routine_for(start.run_state));
        f.front.ended.clear();
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
        for (int on : {ID_SEARCH_START, ID_PAIR_SEARCH, ID_GENERATE_START, ID_CORRELATE, ID_LOG_END}) {
            EXPECT_TRUE(f.front.enabled.at(on)) << on;
        }
        EXPECT_FALSE(f.front.enabled.at(search ? ID_STATUS_REPORT : ID_GENERATE_ABORT));
    }
    apply_log_transition(LogEvent::closed, f.front);
    EXPECT_EQ(setting(SET_RUN_STATE), RUN_NO_LOG);
}

}  // namespace
}  // namespace tapwell

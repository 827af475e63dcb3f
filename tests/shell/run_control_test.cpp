// Ring: tests. The command table, the job starts and ends, the enabling of
// every run-control event, the log transitions and the radio group arithmetic.
#include <gtest/gtest.h>

#include <map>

#include "jobs/cross_correlation.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/preferred_pairs.h"
#include "jobs/primitive_search.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "shell/enabling.h"
#include "shell/run_control.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

// What the window's controls were last set to, by control id.
std::map<int, bool> enabled;
void record_enabling(int control_id, bool on) { enabled[control_id] = on; }

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
        {14, search_primitive, RUN_PRIMITIVE_SEARCH, EVENT_SEARCH_STARTED, finish_search_job, EVENT_SEARCH_FINISHED},
        {16, search_preferred_pairs, RUN_PAIR_SEARCH, EVENT_SEARCH_STARTED, finish_search_job,
         EVENT_SEARCH_FINISHED},
        {40, generate_sequences, RUN_GENERATE, EVENT_GENERATION_STARTED, finish_generate_job,
         EVENT_GENERATE_FINISHED},
        {42, correlate_pair, RUN_CORRELATE, EVENT_GENERATION_STARTED, finish_generate_job, EVENT_GENERATE_FINISHED},
    };
    for (const JobStart& e : expected) {
        const JobStart* s = job_start_for(e.control_id);
        ASSERT_NE(s, nullptr) << e.control_id;
        EXPECT_EQ(s->job, e.job) << e.control_id;
        EXPECT_EQ(s->run_state, e.run_state) << e.control_id;
        EXPECT_EQ(s->started, e.started) << e.control_id;
        EXPECT_EQ(s->end_routine, e.end_routine) << e.control_id;
        EXPECT_EQ(s->finished, e.finished) << e.control_id;
    }
    EXPECT_EQ(job_start_for(ID_SEARCH_ABORT), nullptr);
}

// Each event's column, as control numbers: what is switched on, what off, and
// that nothing else is touched.
TEST(RunControl, EnablingOfEveryEvent) {
    struct Case {
        EnablingEvent event;
        std::vector<int> on, off;
    };
    const Case cases[] = {
        {EVENT_LOG_OPENED, {6, 14, 16, 40, 42}, {4}},
        {EVENT_LOG_CLOSED, {4}, {6, 14, 16, 40, 42}},
        {EVENT_SEARCH_STARTED, {15, 17}, {6, 11, 13, 14, 16, 40, 42}},
        {EVENT_GENERATION_STARTED, {41}, {6, 14, 16, 22, 23, 24, 29, 35, 37, 39, 40, 42}},
        {EVENT_SEARCH_FINISHED, {6, 11, 13, 14, 16, 40, 42}, {15, 17}},
        {EVENT_GENERATE_FINISHED, {6, 14, 16, 22, 23, 24, 29, 35, 37, 39, 40, 42}, {41}},
    };
    for (const Case& c : cases) {
        enabled.clear();
        apply_enabling(c.event, record_enabling);
        std::map<int, bool> expected;
        for (int id : c.on) expected[id] = true;
        for (int id : c.off) expected[id] = false;
        EXPECT_EQ(enabled, expected) << "event " << c.event;
    }
}

TEST(RunControl, LogTransitions) {
    clear_shared_state();
    apply_log_transition(LogEvent::opened, record_enabling);
    EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
    apply_log_transition(LogEvent::closed, record_enabling);
    EXPECT_EQ(setting(SET_RUN_STATE), RUN_NO_LOG);
    EXPECT_TRUE(enabled.at(ID_LOG_SELECT));
}

// A press on Status report between the job's own end (its final text stands)
// and the end routine, which alone moves the run state back to idle.
TEST(RunControl, StatusReportLeavesFinalText) {
    testing::JobFixture f;
    begin_started_job(RUN_PRIMITIVE_SEARCH);
    found_count = 3;
    current_candidate = 0b10011;
    report_status();
    EXPECT_EQ(status_text(), "found=3, checking 10011\n");
    ASSERT_TRUE(claim_job_end());
    status_set("final\n");
    report_status();
    EXPECT_EQ(status_text(), "final\n");
    finish_job();
    report_status();
    EXPECT_EQ(status_text(), "final\n");
}

TEST(RunControl, LanguageAndRadioGroup) {
    EXPECT_EQ(toggled_language(0), 1);
    EXPECT_EQ(toggled_language(1), 0);
    EXPECT_EQ(radio_group_size(ID_MODE_SERIAL), 3);

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

// The whole cycle as the window runs it: log opened, a start button's job
// started and run, its end routine, log closed; for every start button, with
// a job that ends by itself and one that is aborted.
TEST(RunControl, StartAndEndCycle) {
    testing::JobFixture f;
    enabled.clear();
    apply_log_transition(LogEvent::opened, record_enabling);
    set_text_slot(SLOT_SEARCH_FROM, "10011");
    set_text_slot(SLOT_FIND_COUNT, "0");
    set_text_slot(SLOT_WIDTH, "1");
    set_text_slot(SLOT_OUTPUT_COUNT, "0");
    set_text_slot(SLOT_POLY_LIST, "10011\r\n1\r\n11001\r\n1");
    for (int id : {ID_SEARCH_START, ID_PAIR_SEARCH, ID_GENERATE_START, ID_CORRELATE}) {
        for (bool abort : {false, true}) {
            const JobStart& start = *job_start_for(id);
            begin_started_job(start.run_state);
            apply_enabling(start.started, record_enabling);
            EXPECT_EQ(setting(SET_RUN_STATE), start.run_state);
            EXPECT_FALSE(enabled.at(ID_SEARCH_START));
            EXPECT_FALSE(enabled.at(ID_LOG_END));
            const bool search = start.started == EVENT_SEARCH_STARTED;
            EXPECT_TRUE(enabled.at(search ? ID_SEARCH_ABORT : ID_GENERATE_ABORT));
            if (abort) {
                ASSERT_TRUE(abort_running_job([] {}));
                apply_enabling(start.finished, record_enabling);
            } else {
                EXPECT_EQ(start.job(f.front), JobOutcome::finished) << id;
                run_end_routine(start, record_enabling);
            }
            EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE);
            EXPECT_EQ(job_state(), JOB_NONE);
            for (int on : {ID_SEARCH_START, ID_PAIR_SEARCH, ID_GENERATE_START, ID_CORRELATE, ID_LOG_END}) {
                EXPECT_TRUE(enabled.at(on)) << on;
            }
            EXPECT_FALSE(enabled.at(search ? ID_STATUS_REPORT : ID_GENERATE_ABORT));
        }
    }
    apply_log_transition(LogEvent::closed, record_enabling);
    EXPECT_EQ(setting(SET_RUN_STATE), RUN_NO_LOG);
}

// An end routine applies exactly the enabling that Abort applies for the
// same job, and then ends the job.
std::vector<std::pair<int, bool>> enabling_calls;
void record_call(int id, bool on) { enabling_calls.emplace_back(id, on); }

TEST(RunControl, EachEndRoutineIsItsFinishEnablingAndTheJobsEnd) {
    for (int id : {ID_SEARCH_START, ID_PAIR_SEARCH, ID_GENERATE_START, ID_CORRELATE}) {
        const JobStart& start = *job_start_for(id);
        enabling_calls.clear();
        apply_enabling(start.finished, record_call);
        const auto by_abort = enabling_calls;
        enabling_calls.clear();
        begin_started_job(start.run_state);
        run_end_routine(start, record_call);
        EXPECT_EQ(enabling_calls, by_abort) << id;
        EXPECT_EQ(setting(SET_RUN_STATE), RUN_IDLE) << id;
        EXPECT_EQ(job_state(), JOB_NONE) << id;
    }
}

}  // namespace
}  // namespace tapwell

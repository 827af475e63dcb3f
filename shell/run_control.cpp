// Ring: shell. See run_control.h.
#include "shell/run_control.h"

#include <array>
#include <string>

#include "jobs/cross_correlation.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/preferred_pairs.h"
#include "jobs/primitive_search.h"
#include "jobs/sequence_generation.h"
#include "jobs/status_text.h"

namespace tapwell {

namespace {

struct CommandEntry {
    int control_id;
    CommandAction action;
};

constexpr std::array<CommandEntry, 16> command_table = {{
    {ID_LANGUAGE, CommandAction::language},
    {ID_DEFAULT_SIZE, CommandAction::default_size},
    {ID_LOG_SELECT, CommandAction::log_select},
    {ID_LOG_END, CommandAction::log_end},
    {ID_EXIT, CommandAction::exit},
    {ID_SEARCH_START, CommandAction::start_job},
    {ID_SEARCH_ABORT, CommandAction::abort_job},
    {ID_PAIR_SEARCH, CommandAction::start_job},
    {ID_STATUS_REPORT, CommandAction::status_report},
    {ID_MODE_SERIAL, CommandAction::radio},
    {ID_MODE_PARALLEL, CommandAction::radio},
    {ID_MODE_GOLD, CommandAction::radio},
    {ID_SHOW_REGISTER, CommandAction::check},
    {ID_GENERATE_START, CommandAction::start_job},
    {ID_GENERATE_ABORT, CommandAction::abort_job},
    {ID_CORRELATE, CommandAction::start_job},
}};

constexpr std::array<JobStart, 4> job_starts = {{
    {ID_SEARCH_START, search_primitive, RUN_PRIMITIVE_SEARCH, EVENT_SEARCH_STARTED, finish_search_job,
     EVENT_SEARCH_FINISHED},
    {ID_PAIR_SEARCH, search_preferred_pairs, RUN_PAIR_SEARCH, EVENT_SEARCH_STARTED, finish_search_job,
     EVENT_SEARCH_FINISHED},
    {ID_GENERATE_START, generate_sequences, RUN_GENERATE, EVENT_GENERATION_STARTED, finish_generate_job,
     EVENT_GENERATE_FINISHED},
    {ID_CORRELATE, correlate_pair, RUN_CORRELATE, EVENT_GENERATION_STARTED, finish_generate_job,
     EVENT_GENERATE_FINISHED},
}};

constexpr std::array<RunTransition, 2> log_transitions = {{
    {LogEvent::opened, RUN_IDLE, EVENT_LOG_OPENED},
    {LogEvent::closed, RUN_NO_LOG, EVENT_LOG_CLOSED},
}};

}  // namespace

CommandAction command_action(int control_id) {
    for (const CommandEntry& e : command_table) {
        if (e.control_id == control_id) return e.action;
    }
    return CommandAction::none;
}

const JobStart* job_start_for(int control_id) {
    for (const JobStart& s : job_starts) {
        if (s.control_id == control_id) return &s;
    }
    return nullptr;
}

void finish_search_job(EnableControl enable) {
    apply_enabling(EVENT_SEARCH_FINISHED, enable);
    finish_job();
}

void finish_generate_job(EnableControl enable) {
    apply_enabling(EVENT_GENERATE_FINISHED, enable);
    finish_job();
}

void run_end_routine(const JobStart& start, EnableControl enable) { start.end_routine(enable); }

void report_status() {
    std::string text = format_status_report();
    if (!text.empty()) status_set_while_running(text);
}

const RunTransition& log_transition(LogEvent event) {
    return log_transitions[event == LogEvent::opened ? 0 : 1];
}

void apply_log_transition(LogEvent event, EnableControl enable) {
    const RunTransition& t = log_transition(event);
    set_setting(SET_RUN_STATE, t.next_state);
    apply_enabling(t.enabling, enable);
}

std::int32_t toggled_language(std::int32_t language) {
    std::int32_t next = language + 1;
    return next >= 2 ? 0 : next;
}

int radio_group_size(int first_id) {
    int n = 0;
    while (first_id + n < LAYOUT_COUNT && layout_table[first_id + n].kind == KIND_RADIO &&
           layout_table[first_id + n].aux == first_id) {
        ++n;
    }
    return n;
}

bool radio_checked(int id, std::int32_t value) {
    const LayoutRecord& r = layout_table[id];
    return static_cast<long long>(id) - r.aux == value;
}

RadioChange radio_change(int id, std::int32_t current_value) {
    const LayoutRecord& r = layout_table[id];
    const int first = r.aux;
    RadioChange c{-1, id, id - first};
    if (current_value >= 0 && current_value < radio_group_size(first)) c.clear_id = first + current_value;
    return c;
}

}  // namespace tapwell

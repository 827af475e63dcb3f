// Ring: cli. See range_search.h.
#include "cli/range_search.h"

#include <atomic>
#include <string>
#include <vector>

#include "cli/fact_list.h"
#include "cli/json_writer.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/shared_state.h"
#include "jobs/system_texts.h"
#include "library/search_plan.h"
#include "runtime/log_stream.h"
#include "tapwell/errors.hpp"

namespace tapwell::cli {

namespace {

// What the progress line shows, written by the search's thread.
std::atomic<std::uint64_t> finds_so_far{0};
std::atomic<std::uint64_t> candidates_done{0};
std::atomic<std::uint64_t> candidates_total{0};

std::string progress_text() {
    const std::uint64_t total = candidates_total.load(std::memory_order_relaxed);
    std::string text = "search: found " + std::to_string(finds_so_far.load(std::memory_order_relaxed));
    if (total != 0) {
        text += ", " + std::to_string(candidates_done.load(std::memory_order_relaxed) * 100 / total) + "% of the range";
    }
    return text;
}

struct Finds {
    std::uint64_t count = 0;
    std::uint64_t resume = 0;  // the candidate after the last find: a search from it skips none
};

// Runs the search, handing each run of finds to `take`; false when stopped
// (by Ctrl-C, or by take returning false).
template <typename Take>
bool search_into(const PrimitiveSearch& search, const SearchPlan& plan, Finds& finds, Take&& take) {
    finds_so_far.store(0, std::memory_order_relaxed);
    candidates_done.store(0, std::memory_order_relaxed);
    candidates_total.store(0, std::memory_order_relaxed);
    finds.resume = plan.first;
    RunOptions options;
    options.stop = job_stop_token();
    options.threads = job_threads();
    options.progress = [](const Progress& p) {
        candidates_done.store(p.done, std::memory_order_relaxed);
        candidates_total.store(p.total, std::memory_order_relaxed);
    };
    bool whole = true;
    try {
        for_each_primitive(
            search,
            [&](std::span<const Polynomial> block) {
                if (!take(block)) return whole = false;
                finds.count += block.size();
                finds.resume = block.back().value() + 1;  // within the degree: the last candidate is never primitive
                finds_so_far.store(finds.count, std::memory_order_relaxed);
                return true;
            },
            options);
    } catch (const Stopped&) {
        return false;
    }
    return whole;
}

std::string abort_text(const SearchPlan& plan, const Finds& finds) {
    return "aborted at " + Polynomial::from_value(finds.resume != 0 ? finds.resume : plan.first).format() +
           ", found=" + std::to_string(finds.count) + "\n";
}

std::string aborted_line;  // the log's last line of an interrupted search, for standard error

JobOutcome log_search(FrontEnd& front_end, const PrimitiveSearch& search, const SearchPlan& plan) {
    begin_job(front_end);
    const std::uint64_t first = plan.first != 0 ? plan.first : search.from.value();
    log_write_line(std::string(texts::SEARCH_DEGREE) + std::to_string(plan.degree) + std::string(texts::SEARCH_FROM) +
                   Polynomial::from_value(first).format());
    Finds finds;
    std::string lines;
    const bool whole = search_into(search, plan, finds, [&](std::span<const Polynomial> block) {
        lines.clear();
        for (const Polynomial& p : block) lines.append(p.format()).push_back('\n');
        log_write(lines);
        return !log_failed();
    });
    if (log_failed()) return JobOutcome::write_failed;
    if (!whole) {
        aborted_line = abort_text(plan, finds);
        log_write(aborted_line);
        log_flush();
        return JobOutcome::stopped;
    }
    return close_job(front_end, std::string(texts::SEARCH_FINISHED) + std::to_string(finds.count) + "\n");
}

std::string text_or_null(const std::optional<Polynomial>& p) { return p ? json_string(p->format()) : "null"; }

int json_search(const PrimitiveSearch& search, const SearchPlan& plan, const CommonOptions& common) {
    set_job_threads(common.threads);
    Finds finds;
    std::vector<Polynomial> found;
    bool whole = false;
    const int status = run_console_task(
        [&] {
            whole = search_into(search, plan, finds, [&](std::span<const Polynomial> block) {
                found.insert(found.end(), block.begin(), block.end());
                return true;
            });
            return EXIT_DONE;
        },
        progress_text, common.quiet);
    if (status != EXIT_DONE) return status;
    if (!whole) return EXIT_INTERRUPTED;
    JsonWriter json;
    json.begin_object()
        .key("degree").number(static_cast<std::uint64_t>(plan.degree))
        .key("from").string(Polynomial::from_value(plan.first != 0 ? plan.first : search.from.value()).format())
        .key("to").raw(text_or_null(search.to));
    json.key("terms");
    if (search.terms != 0) json.number(static_cast<std::uint64_t>(search.terms));
    else json.null();
    json.key("count").number(search.count).key("found").number(found.size()).key("polynomials").begin_array();
    for (const Polynomial& p : found) json.string(p.format());
    json.end_array().end_object();
    return print_json(json.text());
}

}  // namespace

int run_range_search(const PrimitiveSearch& search, const CommonOptions& common, bool json) {
    SearchPlan plan;
    try {
        plan = plan_search(search);
    } catch (const InvalidArgument& e) {
        print_error(e.what());
        return EXIT_REJECTED;
    }
    if (json) return json_search(search, plan, common);
    aborted_line.clear();
    const int status = run_session(common, {{[search, plan](FrontEnd& f) { return log_search(f, search, plan); },
                                             RUN_IDLE, progress_text}});
    if (status == EXIT_INTERRUPTED && !aborted_line.empty()) std::fputs(aborted_line.c_str(), stderr);
    return status;
}

}  // namespace tapwell::cli

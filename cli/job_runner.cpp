// Ring: cli. See job_runner.h.
#include "cli/job_runner.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

#include "cli/console_text.h"
#include "cli/progress_estimate.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "runtime/log_stream.h"
#include "jobs/quiet_front_end.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "runtime/worker_pool.h"

namespace tapwell::cli {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

#ifdef _WIN32
BOOL WINAPI on_console_control(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    interrupted.store(true);
    return TRUE;
}
void install_interrupt_handler() { SetConsoleCtrlHandler(on_console_control, TRUE); }
void restore_default_interrupt() { SetConsoleCtrlHandler(on_console_control, FALSE); }
#else
extern "C" void on_sigint(int) { interrupted.store(true); }
void install_interrupt_handler() {
    struct sigaction action {};
    action.sa_handler = on_sigint;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}
void restore_default_interrupt() { std::signal(SIGINT, SIG_DFL); }
#endif

constexpr auto PROGRESS_PERIOD = std::chrono::milliseconds(250);
constexpr auto POLL_PERIOD = std::chrono::milliseconds(10);

// The job's own counters, then how far it has come and the time it still
// needs where its size is known.
void show_progress(ProgressFunction progress, ProgressEstimate& estimate, double elapsed_seconds) {
    std::string text = progress();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const JobProgress p = job_progress();
    const std::string suffix = progress_suffix(estimate, p.done, p.total, elapsed_seconds);
    if (!suffix.empty()) text += (text.empty() ? "" : ", ") + suffix;
    std::fputs("\r", stderr);
    write_console_text(stderr, text);
    std::fputs("\033[K", stderr);
    std::fflush(stderr);
}

void clear_progress() {
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
}

}  // namespace

void add_common_options(CLI::App& command, CommonOptions& options) {
    command.add_option("--log", options.log_path,
                       "Append the log to FILE instead of writing it to standard output")
        ->option_text("FILE");
    command.add_option("--lang", options.language, "Language of the messages (default en)")
        ->check(CLI::IsMember({"en", "ja"}));
    add_task_options(command, options.quiet, options.threads);
}

void add_task_options(CLI::App& command, bool& quiet, int& threads) {
    command.add_flag("--quiet", quiet, "No progress line on a terminal");
    command.add_option("--threads", threads, "Threads a job may use (default: all the machine's cores; 1 uses one)")
        ->check(CLI::Range(1, 4096))
        ->option_text("N");
}

void print_error(const std::string& message) {
    std::fprintf(stderr, "tapwell-cli: %s\n", message.c_str());
}

namespace {
int run_console_job(const JobTask& job, int run_state, ProgressFunction progress, bool quiet);

std::string log_name(const CommonOptions& options) {
    return options.log_path.empty() ? "standard output" : "log file '" + options.log_path + "'";
}
}  // namespace

int run_session(const CommonOptions& options, const std::vector<SessionJob>& jobs) {
    set_setting(SET_LANGUAGE, options.language == "ja" ? 0 : 1);
    set_job_threads(options.threads);
    if (options.log_path.empty()) {
        log_attach(stdout);
    } else {
        std::string reason;
        if (!log_open(options.log_path.c_str(), &reason)) {
            print_error("cannot open " + log_name(options) + ": " + reason);
            return EXIT_USAGE;
        }
    }
    set_setting(SET_RUN_STATE, RUN_IDLE);

    int status = EXIT_DONE;
    for (const SessionJob& step : jobs) {
        status = run_console_job(step.job, step.run_state, step.progress, options.quiet);
        if (status != EXIT_DONE) break;
    }
    log_close();

    // A log that could not be written is not a job that ran to its end.
    std::string reason;
    if (log_failed(&reason)) {
        print_error("cannot write " + log_name(options) + ": " + reason);
        if (status != EXIT_INTERRUPTED) status = EXIT_USAGE;
    }
    return status;
}

bool accept_typed_text(const std::string& text, const char* what) {
    if (text.find('\0') == std::string::npos) return true;
    print_error(std::string(what) + " holds a zero byte, which no entry can; nothing was run");
    return false;
}

namespace {

ExitStatus exit_status(JobOutcome outcome) {
    switch (outcome) {
        case JobOutcome::finished: return EXIT_DONE;
        case JobOutcome::rejected: return EXIT_REJECTED;
        case JobOutcome::stopped: return EXIT_INTERRUPTED;
        case JobOutcome::write_failed: return EXIT_USAGE;  // run_session names the file and the reason
    }
    return EXIT_USAGE;
}

// Waits for a worker that sets `done` (under `mutex`, then notifies `ended`):
// shows the progress line on a terminal a few times a second, and at Ctrl-C
// calls interrupt() with the lock released and waits no more (a second Ctrl-C
// then ends the process, should the worker not stop). `shown` says whether a
// progress line is to be cleared.
template <typename Interrupt>
void wait_for_worker(std::mutex& mutex, std::condition_variable& ended, const bool& done, ProgressFunction progress,
                     bool quiet, bool& shown, Interrupt interrupt) {
    const bool show = !quiet && progress != nullptr && is_terminal(stderr);
    const auto started = std::chrono::steady_clock::now();
    auto next_progress = started + PROGRESS_PERIOD;
    ProgressEstimate estimate;
    shown = false;
    std::unique_lock lock(mutex);
    while (!done) {
        ended.wait_for(lock, POLL_PERIOD);
        if (done) break;
        if (interrupted.load()) {
            restore_default_interrupt();
            lock.unlock();
            interrupt();
            return;
        }
        if (show && std::chrono::steady_clock::now() >= next_progress) {
            show_progress(progress, estimate,
                          std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
            shown = true;
            next_progress += PROGRESS_PERIOD;
        }
    }
}

// Runs the job to its end or to Ctrl-C, writes the status text to standard
// error and returns the exit status.
int run_console_job(const JobTask& job, int run_state, ProgressFunction progress, bool quiet) {
    // The console has no result box and no controls: nothing to show or enable.
    static QuietFrontEnd front_end;
    install_interrupt_handler();

    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    JobOutcome outcome = JobOutcome::stopped;

    // Marked as running before the worker starts, so that a Ctrl-C at once
    // still finds a job to abort.
    begin_started_job(run_state);
    std::thread worker([&] {
        const JobOutcome result = run_job(job, front_end);
        // The console has no controls: the end routine is the jobs' part alone.
        if (result != JobOutcome::stopped) finish_job();
        std::lock_guard lock(mutex);
        outcome = result;
        done = true;
        ended.notify_all();
    });

    bool shown = false;
    bool aborted = false;
    wait_for_worker(mutex, ended, done, progress, quiet, shown,
                    [&] { aborted = abort_running_job([&] { worker.join(); }); });
    if (worker.joinable()) worker.join();
    if (shown) clear_progress();

    std::fflush(stdout);
    // A job whose log failed has no final text: the one line about the log,
    // from run_session, says what happened.
    if (aborted || outcome != JobOutcome::write_failed) write_console_text(stderr, status_text());
    std::fflush(stderr);
    if (aborted) return EXIT_INTERRUPTED;
    return exit_status(outcome);
}

}  // namespace

int run_console_task(const std::function<int()>& task, ProgressFunction progress, bool quiet) {
    install_interrupt_handler();
    begin_started_job(RUN_IDLE);  // the stop flag cleared; no window job's run state
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    int status = EXIT_DONE;
    std::thread worker([&] {
        const int result = task();
        std::lock_guard lock(mutex);
        status = result;
        done = true;
        ended.notify_all();
    });
    bool shown = false, aborted = false;
    wait_for_worker(mutex, ended, done, progress, quiet, shown, [&] { aborted = claim_job_abort(); });
    worker.join();
    finish_job();
    if (shown) clear_progress();
    if (!aborted) return status;
    print_error("interrupted");
    return EXIT_INTERRUPTED;
}

}  // namespace tapwell::cli

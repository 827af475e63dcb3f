// Ring: cli. Runs one job the way the window program does: on a worker thread,
// with Ctrl-C as Abort and a progress line while it runs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "jobs/job_outcome.h"

namespace CLI {
class App;
}

namespace tapwell::cli {

// Exit statuses of tapwell-cli.
enum ExitStatus : int {
    EXIT_DONE = 0,         // the job ran to its end
    EXIT_REJECTED = 1,     // the job rejected its parameters; nothing was logged
    EXIT_USAGE = 2,        // bad command line, unreadable input or unopenable log
    EXIT_INTERRUPTED = 130,
};

// --log, --lang, --quiet and --threads, shared by every subcommand.
struct CommonOptions {
    std::string log_path;
    std::string language = "en";
    bool quiet = false;
    int threads = 0;  // 0: all the machine's cores
};
void add_common_options(CLI::App& command, CommonOptions& options);

// A typed text that no entry of the window can hold: one with a zero byte,
// which would end it there. Refused with a message: false then.
bool accept_typed_text(const std::string& text, const char* what);

using ProgressFunction = std::string (*)();  // one line for the progress display

struct SessionJob {
    JobTask job;  // its input bound, built from the options
    int run_state;
    ProgressFunction progress;
};

// Opens the log (the file for appending, or standard output), sets the
// language, runs the jobs in turn while each runs to its end, and closes the
// log. Returns the exit status of the last job run; EXIT_USAGE, after a message
// naming the file, when the log cannot be opened or written.
int run_session(const CommonOptions& options, const std::vector<SessionJob>& jobs);

// A console task that is not one of the window's jobs (partner, check-pair):
// runs `task` on a worker thread, with Ctrl-C as Abort (the stop flag every
// job polls; the task ends early and its answer is dropped) and `progress` as
// the progress line on a terminal unless quiet. Returns the task's exit
// status, or EXIT_INTERRUPTED after Ctrl-C.
int run_console_task(const std::function<int()>& task, ProgressFunction progress, bool quiet);

// --quiet and --threads alone, for such tasks.
void add_task_options(CLI::App& command, bool& quiet, int& threads);

// Prints an error message that starts with the program's name.
void print_error(const std::string& message);

}  // namespace tapwell::cli

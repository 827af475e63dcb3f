// Ring: jobs. How a job ended: what a job function returns to whoever ran it.
// The console turns it into its exit status, the window into its end routine.
#pragma once

#include <functional>

namespace tapwell {

class FrontEnd;

enum class JobOutcome {
    finished,  // ran to its end and wrote its final text
    rejected,  // refused its parameters: the message is in the status, nothing logged
    stopped,   // Abort (or the program's end) claimed the end first and ends the job itself
    write_failed,  // a write to the log failed: the job stopped at once, without its final text
};

using JobFunction = JobOutcome (*)(FrontEnd&);
// A job with its input bound (tapwell-cli's, built from its options).
using JobTask = std::function<JobOutcome(FrontEnd&)>;

}  // namespace tapwell

// Ring: shell. Every window message of the program's own, in one place.
#pragma once

#include <windows.h>

namespace tapwell {

// Posted by the worker when its job ended by itself; wparam is the JobOutcome.
// The UI thread runs the end routine, so it always follows the start command's
// own changes, also for a job that ends at once.
constexpr UINT WM_TAPWELL_JOB_END = WM_APP + 1;

}  // namespace tapwell

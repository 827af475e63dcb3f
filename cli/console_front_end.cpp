// Ring: cli. See console_front_end.h.
#include "cli/console_front_end.h"

#include "jobs/job_frame.h"

namespace tapwell::cli {

void ConsoleFrontEnd::end_job(EndRoutine routine) { run_end_routine(routine, *this); }

}  // namespace tapwell::cli

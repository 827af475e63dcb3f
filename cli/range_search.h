// Ring: cli. The console's primitive searches beyond the window's job: to
// degree 64, of a number of terms, to an end (--to), or as JSON. The same log
// lines as the window's search ("n=.., from=..", one find a line, "Finished.
// found=.."), so that ranges [A, B) and [B, C) logged one after the other
// hold between their headers exactly the finds of [A, C).
#pragma once

#include "cli/job_runner.h"
#include "tapwell/search.hpp"

namespace tapwell::cli {

// Refuses the search in words (EXIT_REJECTED) before anything is written,
// else runs it with Ctrl-C as Abort and returns the exit status. An
// interrupted search logs "aborted at C, found=N", C the candidate from
// which a search neither repeats nor skips a find.
int run_range_search(const PrimitiveSearch& search, const CommonOptions& common, bool json);

}  // namespace tapwell::cli

// Ring: jobs. The preferred pair search: every pair of the last primitive
// search's finds, kept when its cross-correlation takes only -1, -t and t - 2.
#pragma once

#include <cstdint>

#include <cstdint>

#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell {

// The list and the count, read as the window reads them: the last primitive
// search's finds (FoundList), and the count's leading integer taken unsigned
// (0: every pair).
struct PairsInput {
    const std::uint32_t* list = nullptr;
    std::uint32_t count = 0;
    std::uint32_t limit = 0;
};
PairsInput read_pairs_input(const char* count);

// The job for an input: keeps pairs_checked and pairs_total for Status report.
JobOutcome run_pair_search(FrontEnd& front_end, const PairsInput& input);

// The window's job: FoundList and SLOT_FIND_COUNT.
JobOutcome search_preferred_pairs(FrontEnd& front_end);

}  // namespace tapwell

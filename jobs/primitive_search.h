// Ring: jobs. The primitive polynomial search: every candidate of one degree
// from a start polynomial upwards, until a count of finds is reached.
#pragma once

#include <cstdint>

#include "jobs/front_end.h"
#include "jobs/job_outcome.h"

namespace tapwell {

// What was typed into "Searching from" and "Number of find(0:max)", read as
// the window reads it: the polynomial's one word (0 when the text is none),
// and the count's leading integer taken unsigned, so that a negative count
// never stops early; 0 for every find.
struct SearchInput {
    std::uint32_t from = 0;
    std::uint32_t count = 0;
};
SearchInput read_search_input(const char* from, const char* count);

// The job for an input: writes FoundList and the counters found_count and
// current_candidate.
JobOutcome run_primitive_search(FrontEnd& front_end, const SearchInput& input);

// The window's job: the input from SLOT_SEARCH_FROM and SLOT_FIND_COUNT.
JobOutcome search_primitive(FrontEnd& front_end);

}  // namespace tapwell

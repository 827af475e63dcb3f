// Ring: jobs. The primitive polynomial search: every candidate of one degree
// from a start polynomial upwards, until a count of finds is reached.
#pragma once

#include "jobs/front_end.h"

namespace tapwell {

int search_primitive(FrontEnd& front_end);

}  // namespace tapwell

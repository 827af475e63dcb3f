// Ring: jobs. The one reading of every number a user types.
#pragma once

#include <cstdint>

namespace tapwell {

// Leading white space, an optional sign, then decimal digits up to the first
// other character; a text without digits reads as 0. Values beyond the signed
// 32-bit range saturate to INT32_MIN / INT32_MAX instead of being undefined,
// so "99999999999" reads as 2147483647 and a count stays a large count.
std::int32_t leading_integer(const char* text);

}  // namespace tapwell

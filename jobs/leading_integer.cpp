// Ring: jobs. See leading_integer.h.
#include "jobs/leading_integer.h"

#include <cstdint>

namespace tapwell {

std::int32_t leading_integer(const char* text) {
    const char* p = text;
    // The white space of the C locale's isspace, without its locale lookup.
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) magnitude = limit;  // keep consuming, stay saturated
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace tapwell

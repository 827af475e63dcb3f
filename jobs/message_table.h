// Ring: jobs. Twenty message pairs: entry 2k is the Japanese (code page 932)
// and 2k+1 the English text of pair k.
#pragma once

#include "jobs/shared_state.h"

namespace tapwell {

constexpr int MESSAGE_ENTRY_COUNT = 40;

enum MessagePair : int {
    MSG_REALLY_EXIT = 1,
    MSG_REALLY_ABORT = 2,
    MSG_CANNOT_CREATE_OUTPUT = 11,
    MSG_INVALID_PARAMETER = 13,
};

extern const char* const message_table[MESSAGE_ENTRY_COUNT];

// Pair k in the current language.
const char* message_text(int pair);

}  // namespace tapwell

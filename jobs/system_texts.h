// Ring: jobs. Every text the system writes of its own: the log lines' fixed
// parts, the notes at the display cap, the final texts, the Status report and
// abort formats, and the bilingual message pairs.
//
// The spellings are deliberate and must not be corrected: "polynominal",
// "Seaching", "genarated more...", "calcurating more...", the spaces in
// "found = " and "r= ". People's scripts read these logs and match these bytes;
// tests/jobs/system_texts_test.cpp pins every one of them.
#pragma once

#include <string_view>

#include "jobs/shared_state.h"

namespace tapwell::texts {

// The primitive search.
constexpr std::string_view SEARCH_DEGREE = "n=";             // n=%d, from=%s1
constexpr std::string_view SEARCH_FROM = ", from=";
constexpr std::string_view SEARCH_FINISHED = "Finished. found=";  // %u and a line feed

// Generation: the register header lines.
constexpr std::string_view SERIAL_REGISTER = "polynominal=";       // %s1, initial=%s
constexpr std::string_view PARALLEL_REGISTER = "polynominal bit";  // %d=%s1, initial=%s
constexpr std::string_view PARALLEL_REGISTER_END = "=";
constexpr std::string_view REGISTER_A = "polynominal_A=";          // also the correlation's header
constexpr std::string_view REGISTER_B = "polynominal_B=";
constexpr std::string_view INITIAL = ", initial=";
constexpr std::string_view VALUE_SEPARATOR = ", ";                 // between a value and register states
constexpr std::string_view GENERATION_COMPLETED = "Completed.\n";

// Correlation: dt=%u, r= %d per phase.
constexpr std::string_view PHASE = "dt=";
constexpr std::string_view PHASE_VALUE = ", r= ";
constexpr std::string_view CORRELATION_COMPLETED = "Completed. sum|r+1| = ";  // %llu and a line feed

// The preferred pair search.
constexpr std::string_view PAIRS_HEADER = "Seaching for Preferred pair Tapwell. n=";  // %d
constexpr std::string_view PAIRS_LIST_SIZE = ", No. of polynominal=";                  // %u
constexpr std::string_view PAIR_SEPARATOR = ", ";
constexpr std::string_view PAIRS_COMPLETED = "Completed. found = ";  // %u and a line feed

// The notes written to the status text at a job's display cap.
constexpr std::string_view NOTE_FOUND = "found more...";
constexpr std::string_view NOTE_GENERATED = "genarated more...";
constexpr std::string_view NOTE_CORRELATION = "calcurating more...";

// Status report and Abort (printf formats).
constexpr const char* STATUS_SEARCH = "found=%u, checking %s\n";
constexpr const char* STATUS_PAIRS = "found=%u, checked %2.2f%%\n";
constexpr const char* ABORTED_SEARCH = "aborted at %s, found=%u\n";
constexpr const char* ABORTED_PAIRS = "aborted. found = %d\n";
constexpr const char* ABORTED = "aborted.\n";

}  // namespace tapwell::texts

namespace tapwell {

// Twenty message pairs: entry 2k is the Japanese (code page 932) and 2k+1 the
// English text of pair k.
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

// The start of what the window says when its log can no longer be written
// (followed by the system's reason), in the status line and in a message box
// captioned "Write error": [0] Japanese (code page 932), [1] English. Not one
// of the twenty pairs above, which keep their numbers and their empty entries.
extern const char* const log_write_error[2];

}  // namespace tapwell

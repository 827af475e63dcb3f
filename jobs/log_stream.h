// Ring: jobs. The log file: opened for appending, never truncated, written in
// whole lines through a large buffer of our own. Lines are not flushed one by
// one; the buffer goes to the file when it fills, at the end of every job,
// after an abort text and when the log is closed, so that nothing a job has
// written is lost if the program ends or is killed afterwards.
//
// Written by the worker while a job runs, and by the front-end thread only when
// no job runs (after Abort has waited for the worker).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tapwell {

// Opens path for appending in text mode. On failure the log stays closed and
// error_text (when given) receives the system's reason.
bool log_open(const char* path, std::string* error_text = nullptr);
// Uses an already open stream (standard output for the console) without owning it.
void log_attach(std::FILE* stream);
bool log_is_open();
void log_close();

void log_write(std::string_view text);
inline void log_write_line(std::string_view line) {
    log_write(line);
    log_write("\n");
}
void log_flush();

}  // namespace tapwell

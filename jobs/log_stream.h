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
#include <cstring>
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
// Whether a write, flush or close has failed since the log was opened (a full
// disk, a closed pipe); reason (when given) receives the system's words. The
// failure outlives log_close so that the caller can still report it.
bool log_failed(std::string* reason = nullptr);

namespace log_detail {
// The free part of the buffer; both null while no log is open. The writes
// below are inline because a generation logs a line every few nanoseconds.
extern char* cursor;
extern char* limit;
void write_slow(std::string_view text);
char* reserve_slow(std::size_t size);
}  // namespace log_detail

inline void log_write(std::string_view text) {
    if (log_detail::cursor != nullptr && text.size() <= static_cast<std::size_t>(log_detail::limit - log_detail::cursor)) {
        std::memcpy(log_detail::cursor, text.data(), text.size());
        log_detail::cursor += text.size();
    } else {
        log_detail::write_slow(text);
    }
}
inline void log_write_line(std::string_view line) {
    if (log_detail::cursor != nullptr && line.size() < static_cast<std::size_t>(log_detail::limit - log_detail::cursor)) {
        std::memcpy(log_detail::cursor, line.data(), line.size());
        log_detail::cursor[line.size()] = '\n';
        log_detail::cursor += line.size() + 1;
    } else {
        log_detail::write_slow(line);
        log_detail::write_slow("\n");
    }
}
// Room for `size` bytes (at most 4096) to be written in place and then taken
// with log_commit(end): formatting straight into the buffer, for the hottest
// loops. Without an open log the bytes go nowhere.
inline char* log_reserve(std::size_t size) {
    if (log_detail::cursor != nullptr && size <= static_cast<std::size_t>(log_detail::limit - log_detail::cursor)) {
        return log_detail::cursor;
    }
    return log_detail::reserve_slow(size);
}
inline void log_commit(char* end) {
    if (log_detail::cursor != nullptr) log_detail::cursor = end;
}
void log_flush();

}  // namespace tapwell

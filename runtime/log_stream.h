// Ring: runtime. The log file: opened for appending, never truncated below what
// was there, written through a large buffer of our own that hands the system
// whole lines only. Lines are not written one by one; the buffer goes to the
// file when it fills (or a quarter more of it, when the writer is free), at
// the end of every job, after an abort text and when the log is closed. Each
// time, everything up to the buffer's last line end is written in one call
// straight to the file (no buffer of the C library beneath, which would cut
// elsewhere); the unfinished line stays for the next time. So however the
// process ends, the file ends on a line end: on POSIX systems a second process
// makes the writes and finishes those handed to it should ours be killed
// (log_keeper), as the kernel may stop a killed writer between two pages;
// meanwhile the job fills the next buffer. A write that fails part-way is cut
// back to the last whole line.
//
// Written by the worker while a job runs, and by the front-end thread only when
// no job runs (after Abort has waited for the worker). log_failed() may be read
// from any thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

namespace tapwell {

// Opens path for appending (on Windows in binary mode, each "\n" written as
// CR LF by log_sink_win32, so that a block stays one WriteFile). On failure
// the log stays closed and error_text (when given) receives the system's
// reason.
bool log_open(const char* path, std::string* error_text = nullptr);
// Uses an already open stream (standard output for the console) without
// owning it: whatever the stream holds is flushed, then the log writes to its
// file descriptor directly.
void log_attach(std::FILE* stream);
bool log_is_open();
// Writes what is left, a last text without a line end included, and closes.
void log_close();

namespace log_detail {
// The free part of the buffer; both null while no log is open. The writes
// below are inline because a generation logs a line every few nanoseconds.
extern char* cursor;
extern char* limit;
// The errno of the first failed write or close since the log was opened, 0
// while all is well: the writer's own word, which it sets the moment a write
// fails, in its keeper process too.
extern std::atomic<int>* failure;
void write_slow(std::string_view text);
char* reserve_slow(std::size_t size);
}  // namespace log_detail

// Whether a write or close has failed since the log was opened (a full disk,
// a closed pipe). After a failure nothing more is written to that log. One
// relaxed load, so a running job may poll it as often as it likes; the
// failure outlives log_close so that the caller can still report it.
inline bool log_failed() { return log_detail::failure->load(std::memory_order_relaxed) != 0; }
// The same, with the system's words for the first failure in reason.
bool log_failed(std::string* reason);

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
// Writes every whole line written so far; an unfinished line waits for its end.
void log_flush();

// How many of the writes handed to the system are still under way (on POSIX
// systems, queued at the keeper); any thread may look while the log is open.
std::uint32_t log_backlog();

// While `backlog` or more writes wait at the writer and keep_waiting() still
// holds, the calling thread sleeps a little at a time: a thread that would
// only add to the queue leaves its core to the writer where no core is to
// spare, instead of sharing one with it while another sits idle.
template <typename KeepWaiting>
void log_step_aside(std::uint32_t backlog, KeepWaiting keep_waiting) {
    while (log_backlog() >= backlog && keep_waiting()) std::this_thread::sleep_for(std::chrono::microseconds(100));
}

}  // namespace tapwell

// Ring: runtime. Where the log's bytes go: a file descriptor written with the
// system's own calls, one call per block, with no buffer of the C library in
// between that would cut the file elsewhere than at our line ends. Used by
// log_stream only. The platform halves are log_sink_posix.cpp (with its
// keeper process, log_keeper) and log_sink_win32.cpp (CR LF line ends, as text
// mode writes them).
#pragma once

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace tapwell::log_sink {

// A megabyte: each hand-over to the keeper costs a wake-up on both sides; the
// 370 MB log of a degree-24 correlation took 15% longer with a quarter of this.
constexpr std::size_t BUFFER_SIZE = 1 << 20;
// Writes may queue up at the keeper, all buffers but the one being filled:
// a job whose lines come faster than the system takes them goes on while the
// keeper waits for a core, instead of both waiting for each other at every
// buffer.
constexpr int BUFFER_COUNT = 16;

// The log's buffers of BUFFER_SIZE bytes, one set for the whole process, used
// in turn: one is filled while those before it are being written. On POSIX
// systems they live in memory shared with the keeper; on Windows, where a
// write is done when it returns, all are the same.
char* buffer(int which);
// The errno of the first failed write or close, 0 while all is well; set by
// whoever fails, the keeper too, the moment it fails. After a failure nothing
// more is written.
std::atomic<int>& failure();
// Each after close(). open returns 0 or the errno of the failure; attach
// writes to the stream's file descriptor (the stream flushed), not owning it.
int open(const char* path);
void attach(std::FILE* stream);
// Hands [data, data + size), a part of one buffer, to the end of the file,
// after the writes handed over before it. The write may still be under way
// when this returns: that buffer must stay as it is until BUFFER_COUNT - 1
// more writes have been handed over, or a wait or close. When this returns,
// the buffer after the one handed over is free. A write that fails part-way
// is cut back to the last whole line.
void write(const char* data, std::size_t size);
// Waits until every write handed over is done.
void wait();
// Whether a write handed over is still under way (a look, no waiting).
bool busy();
// How many writes handed over the writer has not finished yet, as far as it
// has told; 0 where a write is done when it returns. A look from any thread
// while the log is open.
std::uint32_t backlog();
void close();

// Keeps error (EIO for none given) in failure() unless a failure is there.
inline void note_failure(int error) {
    int none = 0;
    failure().compare_exchange_strong(none, error != 0 ? error : EIO, std::memory_order_relaxed);
}

// One past the last line end in [from, to), or from when there is none.
inline const char* after_last_line_end(const char* from, const char* to) {
    for (const char* p = to; p != from; --p) {
        if (p[-1] == '\n') return p;
    }
    return from;
}

// Where the file's last whole line of ours ends, kept across writes so that a
// write failing part-way can be cut back to it; never before the size the
// file had when we first wrote.
struct LineMark {
    std::int64_t whole = 0;  // the file's size up to that line end
    bool in_line = false;    // the file ends inside a line of ours (one longer than the buffer)

    // Before a write at the end of a file of `size` bytes.
    void before(std::int64_t size) {
        if (!in_line) whole = size;
    }
    // After `written` bytes of data went to the file at `start`.
    void after(std::int64_t start, const char* data, std::size_t written) {
        const char* end = after_last_line_end(data, data + written);
        if (end != data) whole = start + (end - data);
        if (written != 0) in_line = end != data + written;
    }
};

}  // namespace tapwell::log_sink

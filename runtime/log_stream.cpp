// Ring: runtime. See log_stream.h.
#include "runtime/log_stream.h"

#include <algorithm>
#include <cstring>

#include "runtime/log_sink.h"

namespace tapwell {

namespace log_detail {
char* cursor = nullptr;
char* limit = nullptr;
std::atomic<int> no_log_yet{0};
std::atomic<int>* failure = &no_log_yet;
}  // namespace log_detail

namespace {

using log_detail::cursor;
using log_detail::limit;
char* buffer = nullptr;  // the start of the buffer being filled while a log is open
char* end = nullptr;     // and its end; `limit` may stand before it (below)
int filling = 0;         // which of the writer's buffers that is

// The inline writes stop at `limit`, a step ahead of the last look at the
// writer: when it is free by then, it gets the lines so far, so that a log
// of a few megabytes is written while the job goes on, not all at its end;
// while it is busy, the buffer fills on to its end.
constexpr std::size_t STEP = log_sink::BUFFER_SIZE / 4;

void set_limit(char* at) { limit = std::min(at, end); }
std::size_t room() { return static_cast<std::size_t>(limit - cursor); }

// Hands [buffer, upto) to the file and goes on in the next buffer with the
// rest, while the writer has this one. After a failure the writer takes
// nothing more (but still hears how its last write ended), and the rest goes.
void hand_over(const char* upto) {
    if (upto != buffer) {
        log_sink::write(buffer, static_cast<std::size_t>(upto - buffer));
        filling = (filling + 1) % log_sink::BUFFER_COUNT;
    }
    if (log_failed()) upto = cursor;
    char* next = log_sink::buffer(filling);
    const std::size_t rest = static_cast<std::size_t>(cursor - upto);
    std::memmove(next, upto, rest);
    buffer = next;
    cursor = buffer + rest;
    end = buffer + log_sink::BUFFER_SIZE;
    set_limit(cursor + STEP);
}

void hand_over_lines() { hand_over(log_sink::after_last_line_end(buffer, cursor)); }

// A write of `size` bytes reached the limit before the buffer's end: the
// writer gets the lines so far if it is free, and the next look comes a step
// on (or where this write ends, or at the buffer's end). True when the write
// now fits.
bool past_limit(std::size_t size) {
    if (limit == end) return false;
    if (!log_sink::busy()) hand_over_lines();
    set_limit(cursor + std::max(size, STEP));
    return size <= room();
}

// Room for `size` bytes before the buffer's end. Whole lines go first; only
// a line longer than the buffer leaves in pieces.
void make_room(std::size_t size) {
    hand_over_lines();
    if (static_cast<std::size_t>(end - cursor) < size) hand_over(cursor);
}

void begin() {
    log_detail::failure = &log_sink::failure();
    filling = 0;
    buffer = log_sink::buffer(filling);
    cursor = buffer;
    end = buffer + log_sink::BUFFER_SIZE;
    set_limit(cursor + STEP);
}

}  // namespace

namespace log_detail {

void write_slow(std::string_view text) {
    if (cursor == nullptr) return;
    if (!past_limit(text.size())) {
        // The buffer's end.
        hand_over_lines();
        while (text.size() > static_cast<std::size_t>(end - cursor)) {
            const std::size_t part = static_cast<std::size_t>(end - cursor);
            std::memcpy(cursor, text.data(), part);
            cursor = end;
            text.remove_prefix(part);
            hand_over_lines();
            if (cursor == end) hand_over(cursor);  // one line longer than the buffer
        }
    }
    std::memcpy(cursor, text.data(), text.size());
    cursor += text.size();
    if (limit < cursor) set_limit(cursor + STEP);
}

char* reserve_slow(std::size_t size) {
    static char nowhere[4096];
    // Beyond its promised 4096 bytes a reservation gets nowhere too, rather
    // than room past the end of `nowhere` while no log is open.
    if (cursor == nullptr || size > sizeof nowhere) return nowhere;
    if (!past_limit(size)) make_room(size);
    return cursor;
}

}  // namespace log_detail

bool log_open(const char* path, std::string* error_text) {
    log_close();
    if (int error = log_sink::open(path)) {
        if (error_text != nullptr) *error_text = std::strerror(error);
        return false;
    }
    begin();
    return true;
}

void log_attach(std::FILE* stream) {
    log_close();
    std::fflush(stream);  // what the stream holds comes first
    log_sink::attach(stream);
    begin();
}

bool log_is_open() { return cursor != nullptr; }

void log_close() {
    if (cursor == nullptr) return;
    hand_over(cursor);
    log_sink::close();
    buffer = cursor = limit = end = nullptr;
}

void log_flush() {
    if (cursor == nullptr) return;
    hand_over_lines();
    log_sink::wait();
}

std::uint32_t log_backlog() { return log_sink::backlog(); }

bool log_failed(std::string* reason) {
    const int error = log_detail::failure->load(std::memory_order_relaxed);
    if (error != 0 && reason != nullptr) *reason = std::strerror(error);
    return error != 0;
}

}  // namespace tapwell

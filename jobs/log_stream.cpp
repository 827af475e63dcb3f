// Ring: jobs. See log_stream.h.
#include "jobs/log_stream.h"

#include <cstring>

#include "jobs/log_sink.h"

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
int filling = 0;         // which of the writer's two buffers that is

// Hands [buffer, end) to the file and goes on in the other buffer with the
// rest, while the writer has this one. After a failure the writer takes
// nothing more (but still hears how its last write ended), and the rest goes.
void hand_over(const char* end) {
    if (end != buffer) {
        log_sink::write(buffer, static_cast<std::size_t>(end - buffer));
        filling = 1 - filling;
    }
    if (log_failed()) end = cursor;
    char* next = log_sink::buffer(filling);
    const std::size_t rest = static_cast<std::size_t>(cursor - end);
    std::memmove(next, end, rest);
    buffer = next;
    cursor = buffer + rest;
    limit = buffer + log_sink::BUFFER_SIZE;
}

void hand_over_lines() { hand_over(log_sink::after_last_line_end(buffer, cursor)); }

// Room for `size` bytes. Whole lines go first; only a line longer than the
// buffer leaves in pieces.
void make_room(std::size_t size) {
    hand_over_lines();
    if (static_cast<std::size_t>(limit - cursor) < size) hand_over(cursor);
}

void begin() {
    log_detail::failure = &log_sink::failure();
    filling = 0;
    buffer = log_sink::buffer(filling);
    cursor = buffer;
    limit = buffer + log_sink::BUFFER_SIZE;
}

}  // namespace

namespace log_detail {

void write_slow(std::string_view text) {
    if (cursor == nullptr) return;
    hand_over_lines();
    while (text.size() > static_cast<std::size_t>(limit - cursor)) {
        const std::size_t part = static_cast<std::size_t>(limit - cursor);
        std::memcpy(cursor, text.data(), part);
        cursor = limit;
        text.remove_prefix(part);
        hand_over_lines();
        if (cursor == limit) hand_over(cursor);  // one line longer than the buffer
    }
    std::memcpy(cursor, text.data(), text.size());
    cursor += text.size();
}

char* reserve_slow(std::size_t size) {
    static char nowhere[4096];
    if (cursor == nullptr || size > log_sink::BUFFER_SIZE) return nowhere;
    make_room(size);
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
    buffer = cursor = limit = nullptr;
}

void log_flush() {
    if (cursor == nullptr) return;
    hand_over_lines();
    log_sink::wait();
}

bool log_failed(std::string* reason) {
    const int error = log_detail::failure->load(std::memory_order_relaxed);
    if (error != 0 && reason != nullptr) *reason = std::strerror(error);
    return error != 0;
}

}  // namespace tapwell

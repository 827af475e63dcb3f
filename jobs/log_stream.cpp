// Ring: jobs. See log_stream.h.
#include "jobs/log_stream.h"

#include <cerrno>
#include <cstring>

namespace tapwell {

namespace {
constexpr std::size_t BUFFER_SIZE = 1 << 18;
char buffer[BUFFER_SIZE];
std::FILE* stream = nullptr;
bool owned = false;
int failure = 0;  // errno of the first failed write, flush or close; 0 while all is well

void note_failure() {
    if (failure == 0) failure = errno != 0 ? errno : EIO;
}

void write_out(const char* data, std::size_t size) {
    errno = 0;
    if (std::fwrite(data, 1, size, stream) != size) note_failure();
}

void drain() {
    const std::size_t used = log_detail::cursor != nullptr ? static_cast<std::size_t>(log_detail::cursor - buffer) : 0;
    if (stream != nullptr && used != 0) write_out(buffer, used);
    log_detail::cursor = stream != nullptr ? buffer : nullptr;
    log_detail::limit = stream != nullptr ? buffer + BUFFER_SIZE : nullptr;
}
}  // namespace

namespace log_detail {
char* cursor = nullptr;
char* limit = nullptr;

void write_slow(std::string_view text) {
    if (stream == nullptr) return;
    drain();
    if (text.size() > BUFFER_SIZE) {
        write_out(text.data(), text.size());
        return;
    }
    std::memcpy(cursor, text.data(), text.size());
    cursor += text.size();
}

char* reserve_slow(std::size_t size) {
    static char nowhere[4096];
    if (stream == nullptr || size > BUFFER_SIZE) return nowhere;
    drain();
    return cursor;
}
}  // namespace log_detail

bool log_open(const char* path, std::string* error_text) {
    log_close();
    errno = 0;
    std::FILE* f = std::fopen(path, "a");
    if (f == nullptr) {
        if (error_text != nullptr) *error_text = std::strerror(errno != 0 ? errno : ENOENT);
        return false;
    }
    stream = f;
    owned = true;
    failure = 0;
    drain();
    return true;
}

void log_attach(std::FILE* s) {
    log_close();
    stream = s;
    owned = false;
    failure = 0;
    drain();
}

bool log_is_open() { return stream != nullptr; }

void log_close() {
    if (stream == nullptr) return;
    log_flush();
    errno = 0;
    if (owned && std::fclose(stream) != 0) note_failure();
    stream = nullptr;
    owned = false;
    drain();  // no stream: the buffer pointers become null
}

void log_flush() {
    drain();
    errno = 0;
    if (stream != nullptr && std::fflush(stream) != 0) note_failure();
}

bool log_failed(std::string* reason) {
    if (failure != 0 && reason != nullptr) *reason = std::strerror(failure);
    return failure != 0;
}

}  // namespace tapwell

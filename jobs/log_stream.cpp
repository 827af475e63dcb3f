// Ring: jobs. See log_stream.h.
#include "jobs/log_stream.h"

#include <cerrno>
#include <cstring>

namespace tapwell {

namespace {
constexpr std::size_t BUFFER_SIZE = 1 << 18;
char buffer[BUFFER_SIZE];
std::size_t used = 0;
std::FILE* stream = nullptr;
bool owned = false;

void drain() {
    if (stream != nullptr && used != 0) std::fwrite(buffer, 1, used, stream);
    used = 0;
}
}  // namespace

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
    return true;
}

void log_attach(std::FILE* s) {
    log_close();
    stream = s;
    owned = false;
}

bool log_is_open() { return stream != nullptr; }

void log_close() {
    if (stream == nullptr) return;
    log_flush();
    if (owned) std::fclose(stream);
    stream = nullptr;
    owned = false;
}

void log_write(std::string_view text) {
    if (stream == nullptr) return;
    if (text.size() > BUFFER_SIZE - used) {
        drain();
        if (text.size() > BUFFER_SIZE) {
            std::fwrite(text.data(), 1, text.size(), stream);
            return;
        }
    }
    std::memcpy(buffer + used, text.data(), text.size());
    used += text.size();
}

void log_flush() {
    drain();
    if (stream != nullptr) std::fflush(stream);
}

}  // namespace tapwell

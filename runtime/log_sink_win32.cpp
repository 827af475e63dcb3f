// Ring: runtime. See log_sink.h: the Windows half. The file is opened in binary
// mode and each block's "\n" become CR LF here, as text mode would write them,
// so that the whole block goes to the system in one WriteFile: the C
// library's text mode would write it in pieces of its own. The system
// finishes a write in hand before it lets a process end.
#include "runtime/log_sink.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace tapwell::log_sink {

namespace {

char memory[BUFFER_SIZE];
char translated[2 * BUFFER_SIZE];  // every byte a line end at the most
std::atomic<int> first_failure{0};
int fd = -1;
bool owned = false;
int attached_mode = -1;  // the text or binary mode an attached stream had
LineMark mark;

HANDLE disk_file(std::int64_t& size) {
    HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    LARGE_INTEGER s;
    if (h == INVALID_HANDLE_VALUE || GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &s)) return nullptr;
    size = s.QuadPart;
    return h;
}

void cut_back() {
    std::int64_t size = 0;
    HANDLE h = disk_file(size);
    LARGE_INTEGER at;
    at.QuadPart = mark.whole;
    if (h != nullptr && size > mark.whole && SetFilePointerEx(h, at, nullptr, FILE_BEGIN)) SetEndOfFile(h);
}

void begin(int descriptor, bool owns) {
    fd = descriptor;
    owned = owns;
    mark = LineMark{};
    first_failure.store(0, std::memory_order_relaxed);
}

}  // namespace

char* buffer(int) { return memory; }

std::atomic<int>& failure() { return first_failure; }

int open(const char* path) {
    const int f = _open(path, _O_WRONLY | _O_CREAT | _O_APPEND | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (f < 0) return errno != 0 ? errno : ENOENT;
    begin(f, true);
    return 0;
}

void attach(std::FILE* stream) {
    begin(_fileno(stream), false);
    attached_mode = fd >= 0 ? _setmode(fd, _O_BINARY) : -1;
}

void write(const char* data, std::size_t size) {
    if (first_failure.load(std::memory_order_relaxed) != 0) return;
    if (fd < 0) return note_failure(EBADF);
    std::size_t length = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') translated[length++] = '\r';
        translated[length++] = data[i];
    }
    std::int64_t start = 0;
    disk_file(start);
    mark.before(start);
    std::size_t done = 0;
    int error = 0;
    while (done < length) {
        const int n = _write(fd, translated + done, static_cast<unsigned>(length - done));
        if (n <= 0) {
            error = n < 0 && errno != 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    mark.after(start, translated, done);
    if (error != 0) {
        cut_back();
        note_failure(error);
    }
}

void wait() {}

bool busy() { return false; }  // a write is done when it returns
std::uint32_t backlog() { return 0; }

void close() {
    if (owned && _close(fd) != 0) note_failure(errno);
    if (!owned && attached_mode != -1) _setmode(fd, attached_mode);
    fd = -1;
    owned = false;
    attached_mode = -1;
}

}  // namespace tapwell::log_sink

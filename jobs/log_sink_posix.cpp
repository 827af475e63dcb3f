// Ring: jobs. See log_sink.h: the POSIX half, a file descriptor written by the
// keeper process (log_keeper.h), or by ourselves when no keeper could be made.
#include "jobs/log_sink.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "jobs/log_keeper.h"

namespace tapwell::log_sink {

namespace {

// What the keeper must see: the buffer, and the mark it moves with each write.
struct Shared {
    char buffer[BUFFER_SIZE];
    LineMark mark;
};
Shared* shared = nullptr;
bool shared_with_keeper = false;  // false when no shared memory could be had
int fd = -1;
bool owned = false;

bool regular_file(std::int64_t& size) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    size = st.st_size;
    return true;
}

void cut_back() {
    std::int64_t size = 0;
    if (regular_file(size) && size > shared->mark.whole) {
        while (ftruncate(fd, shared->mark.whole) != 0 && errno == EINTR) {
        }
    }
}

// Everything or an errno, in the keeper or in our own process.
int write_whole(const char* data, std::size_t size) {
    std::int64_t start = 0;
    const bool regular = regular_file(start);
    shared->mark.before(start);
    std::size_t done = 0;
    int error = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            error = n < 0 ? errno : EIO;
            break;
        }
    }
    shared->mark.after(start, data, done);
    if (error != 0 && regular) cut_back();
    return error;
}

// A process forked from ours (not the keeper) gets a buffer of its own at the
// same address, so that neither writes into the other's log, and lets go of
// our keeper.
void after_fork_in_child() {
    if (log_keeper::starting()) return;
    log_keeper::forget();
    void* copy = mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (copy == MAP_FAILED) return;
    std::memcpy(copy, shared, sizeof(Shared));
    if (mmap(shared, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
        std::memcpy(shared, copy, sizeof(Shared));
    }
    munmap(copy, sizeof(Shared));
}

Shared& memory() {
    if (shared == nullptr) {
        void* m = mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (m == MAP_FAILED) {
            // No shared memory: no keeper either, the buffer is ours alone.
            static Shared own;
            shared = &own;
        } else {
            shared = static_cast<Shared*>(m);
            shared_with_keeper = true;
            pthread_atfork(nullptr, nullptr, after_fork_in_child);
        }
    }
    return *shared;
}

void begin(int descriptor, bool owns) {
    fd = descriptor;
    owned = owns;
    memory().mark = LineMark{};
    if (shared_with_keeper && fd >= 0) log_keeper::start(write_whole);
}

}  // namespace

char* buffer() { return memory().buffer; }

int open(const char* path) {
    close();
    const int f = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (f < 0) return errno != 0 ? errno : ENOENT;
    begin(f, true);
    return 0;
}

void attach(std::FILE* stream) {
    close();
    std::fflush(stream);
    begin(fileno(stream), false);
}

int write(const char* data, std::size_t size) {
    if (!log_keeper::running()) return write_whole(data, size);
    const int result = log_keeper::hand_over(data, size);
    if (result == log_keeper::GONE) {
        // Killed on its own, perhaps in the middle of this write.
        cut_back();
        return EIO;
    }
    // What a write of our own would have raised on us: SIGPIPE with every
    // EPIPE, SIGXFSZ when the file reached the size limit of the process.
    rlimit limit{};
    if (result == EPIPE) std::raise(SIGPIPE);
    if (result == EFBIG && getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) std::raise(SIGXFSZ);
    return result;
}

int close() {
    log_keeper::stop();
    int error = 0;
    if (owned && ::close(fd) != 0) error = errno;
    fd = -1;
    owned = false;
    return error;
}

}  // namespace tapwell::log_sink

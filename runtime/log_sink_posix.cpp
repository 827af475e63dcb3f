// Ring: runtime. See log_sink.h: the POSIX half, a file descriptor written by the
// keeper process (log_keeper.h), or by ourselves when no keeper could be made.
#include "runtime/log_sink.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/log_keeper.h"

namespace tapwell::log_sink {

namespace {

// What the keeper must see: the buffers, the mark it moves with each write
// and the failure it finds.
struct Shared {
    char buffers[BUFFER_COUNT][BUFFER_SIZE];
    LineMark mark;
    std::atomic<int> failure;
    std::atomic<std::uint32_t> writes_done;  // by the keeper, counted up after each
};
static_assert(std::atomic<int>::is_always_lock_free, "shared between two processes");
static_assert(std::atomic<std::uint32_t>::is_always_lock_free, "shared between two processes");
Shared* shared = nullptr;
bool shared_with_keeper = false;  // false when no shared memory could be had
bool with_keeper = false;         // the open log has a keeper (which may since have gone)
int in_flight = 0;                 // writes handed to the keeper whose answers we have not taken
std::atomic<std::uint32_t> writes_handed{0};  // to the keeper since the log was opened
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
    if (shared->failure.load(std::memory_order_relaxed) != 0) return 0;
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
    if (error != 0) {
        if (regular) cut_back();
        note_failure(error);
    }
    return error;
}

// What the keeper runs for each write.
int keeper_write(const char* data, std::size_t size) {
    const int result = write_whole(data, size);
    shared->writes_done.fetch_add(1, std::memory_order_relaxed);
    return result;
}

// Takes the keeper's answer to the oldest write it has.
void take_answer() {
    if (in_flight == 0) return;
    --in_flight;
    const int result = log_keeper::answer();
    if (result == log_keeper::GONE) {
        // Killed on its own, perhaps in the middle of a write: none of the
        // others will be answered either.
        in_flight = 0;
        cut_back();
        note_failure(EIO);
    }
    // What a write of our own would have raised on us: SIGPIPE with every
    // EPIPE, SIGXFSZ when the file reached the size limit of the process.
    rlimit limit{};
    if (result == EPIPE) std::raise(SIGPIPE);
    if (result == EFBIG && getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) std::raise(SIGXFSZ);
}

// A process forked from ours (not the keeper) gets memory of its own at the
// same address, so that neither writes into the other's log, and lets go of
// our keeper.
void after_fork_in_child() {
    if (log_keeper::starting()) return;
    log_keeper::forget();
    with_keeper = false;
    in_flight = 0;
    void* copy = mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (copy == MAP_FAILED) return;
    void* at = shared;
    std::memcpy(copy, at, sizeof(Shared));
    if (mmap(at, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
        std::memcpy(at, copy, sizeof(Shared));
    }
    munmap(copy, sizeof(Shared));
}

Shared& memory() {
    if (shared == nullptr) {
        void* m = mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (m == MAP_FAILED) {
            // No shared memory: no keeper either, the buffers are ours alone.
            static Shared own;
            shared = &own;
        } else {
            shared = new (m) Shared;
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
    shared->failure.store(0, std::memory_order_relaxed);
    shared->writes_done.store(0, std::memory_order_relaxed);
    writes_handed.store(0, std::memory_order_relaxed);
    with_keeper = shared_with_keeper && fd >= 0 && log_keeper::start(keeper_write);
}

}  // namespace

char* buffer(int which) { return memory().buffers[which]; }

std::atomic<int>& failure() { return memory().failure; }

int open(const char* path) {
    const int f = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (f < 0) return errno != 0 ? errno : ENOENT;
    begin(f, true);
    return 0;
}

void attach(std::FILE* stream) {
    begin(fileno(stream), false);
}

void write(const char* data, std::size_t size) {
    // The buffer after this one is filled next: it must not be in flight.
    while (in_flight >= BUFFER_COUNT - 1) take_answer();
    if (shared->failure.load(std::memory_order_relaxed) != 0) return;
    if (!with_keeper) {
        write_whole(data, size);
    } else if (log_keeper::request(data, size)) {
        ++in_flight;
        writes_handed.fetch_add(1, std::memory_order_relaxed);
    } else {
        note_failure(EIO);  // the keeper was killed on its own
    }
}

void wait() {
    while (in_flight > 0) take_answer();
}

std::uint32_t backlog() {
    if (!with_keeper) return 0;
    return writes_handed.load(std::memory_order_relaxed) - shared->writes_done.load(std::memory_order_relaxed);
}

bool busy() {
    while (in_flight > 0 && log_keeper::answered()) take_answer();
    return in_flight > 0;
}

void close() {
    wait();
    log_keeper::stop();
    if (owned && ::close(fd) != 0) note_failure(errno);
    fd = -1;
    owned = with_keeper = false;
}

}  // namespace tapwell::log_sink

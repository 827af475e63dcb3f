// Ring: tests. See slow_reader.h.
#include "tests/reference/slow_reader.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tapwell::testing {

SlowReader::SlowReader() {
    char dir[] = "/tmp/tapwell-slow-reader-XXXXXX";
    if (mkdtemp(dir) == nullptr) return;
    dir_ = dir;
    path_ = dir_ + "/log";
    if (mkfifo(path_.c_str(), 0600) != 0) return;
    // Not blocking while no writer is there; blocking reads afterwards.
    fd_ = open(path_.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd_ >= 0) fcntl(fd_, F_SETFL, 0);
}

SlowReader::~SlowReader() {
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) close(fd_);
    if (!path_.empty()) unlink(path_.c_str());
    if (!dir_.empty()) rmdir(dir_.c_str());
}

void SlowReader::start(int pause_microseconds) {
    thread_ = std::thread([this, pause_microseconds] {
        char chunk[65536];
        for (ssize_t n; (n = read(fd_, chunk, sizeof chunk)) > 0;) {
            received_.append(chunk, static_cast<std::size_t>(n));
            usleep(static_cast<useconds_t>(pause_microseconds));
        }
    });
}

std::string SlowReader::finish() {
    if (thread_.joinable()) thread_.join();
    return received_;
}

}  // namespace tapwell::testing

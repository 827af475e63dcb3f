// Ring: tests. A named pipe read more slowly than a job writes to it, so that
// the log's writes queue up behind the reader: what arrives can then be held
// against what a log to a file holds.
#pragma once

#include <string>
#include <thread>

namespace tapwell::testing {

class SlowReader {
public:
    // Makes the pipe in a temporary directory and opens its reading end.
    SlowReader();
    ~SlowReader();
    SlowReader(const SlowReader&) = delete;
    SlowReader& operator=(const SlowReader&) = delete;

    bool made() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    // Reads on a thread of its own, pausing after each read. The log must be
    // open on the pipe by then: a pipe with no writer yet reads as ended.
    void start(int pause_microseconds);
    // Waits until the writer has closed the pipe; everything that came.
    std::string finish();

private:
    std::string dir_, path_;
    int fd_ = -1;
    std::thread thread_;
    std::string received_;
};

}  // namespace tapwell::testing

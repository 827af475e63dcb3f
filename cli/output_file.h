// Ring: cli. Output that is written whole or not at all: the bytes go to a
// temporary file beside the target, which takes the target's name only when
// every byte is written and closed; standard output for "-" or no path.
#pragma once

#include <cstdio>
#include <functional>
#include <span>
#include <stop_token>
#include <string>

namespace tapwell::cli {

class OutputFile {
public:
    // False, with the reason in `error`, when the temporary cannot be made.
    bool open(const std::string& path, std::string& error);
    // Throws std::runtime_error with the reason when the bytes cannot be written.
    void write(std::span<const unsigned char> bytes);
    // Flushes and puts the file in place; false with the reason otherwise.
    bool commit(std::string& error);
    // Removes the temporary, when there is one and it was not committed.
    ~OutputFile();

    bool is_standard_output() const { return path_.empty(); }

private:
    std::string path_, temporary_;
    std::FILE* file_ = nullptr;
};

// Runs `write` on a worker thread with Ctrl-C as Abort (its token asks it
// to stop) and puts the file in place when it ends well. The exit status:
// done; interrupted; 1 after the words of a tapwell::Error it throws; 2
// after those of any other exception (a write that failed) or of a commit
// that failed. The temporary is removed in every case but done.
int write_output(OutputFile& out, const std::function<void(std::stop_token)>& write);

}  // namespace tapwell::cli

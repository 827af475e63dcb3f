// Ring: cli. See output_file.h.
#include "cli/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "cli/job_runner.h"
#include "jobs/job_control.h"
#include "tapwell/errors.hpp"

namespace tapwell::cli {

namespace {

std::string reason() { return std::strerror(errno); }

}  // namespace

bool OutputFile::open(const std::string& path, std::string& error) {
    if (path.empty() || path == "-") {
        file_ = stdout;
        return true;
    }
    // A name of its own beside the target, so that the rename stays on one
    // file system and two runs do not share a temporary.
    std::random_device random;
    path_ = path;
    temporary_ = path + ".tmp" + std::to_string(random() % 1000000000u);
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (file_ == nullptr) {
        error = "cannot create " + temporary_ + ": " + reason();
        temporary_.clear();
        return false;
    }
    return true;
}

void OutputFile::write(std::span<const unsigned char> bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        throw std::runtime_error("cannot write " + (path_.empty() ? std::string("standard output") : path_) + ": " +
                                 reason());
    }
}

bool OutputFile::commit(std::string& error) {
    const std::string name = path_.empty() ? std::string("standard output") : path_;
    if (std::fflush(file_) != 0) {
        error = "cannot write " + name + ": " + reason();
        return false;
    }
    if (path_.empty()) return true;
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) {
        error = "cannot write " + name + ": " + reason();
        return false;
    }
    std::error_code failed;
    std::filesystem::rename(temporary_, path_, failed);
    if (failed) {
        error = "cannot put " + temporary_ + " in place of " + path_ + ": " + failed.message();
        return false;
    }
    temporary_.clear();
    return true;
}

OutputFile::~OutputFile() {
    if (file_ != nullptr && file_ != stdout) std::fclose(file_);
    if (!temporary_.empty()) std::remove(temporary_.c_str());
}

int write_output(OutputFile& out, const std::function<void(std::stop_token)>& write) {
    std::string failure;
    const int ran = run_console_task(
        [&] {
            try {
                write(job_stop_token());
            } catch (const Stopped&) {
                return EXIT_INTERRUPTED;
            } catch (const Error& e) {
                failure = e.what();
                return EXIT_REJECTED;
            } catch (const std::exception& e) {
                failure = e.what();
                return EXIT_USAGE;
            }
            return EXIT_DONE;
        },
        nullptr, true);
    if (ran != EXIT_DONE) {
        if (!failure.empty()) print_error(failure);
        return ran;
    }
    std::string error;
    if (!out.commit(error)) {
        print_error(error);
        return EXIT_USAGE;
    }
    return EXIT_DONE;
}

}  // namespace tapwell::cli

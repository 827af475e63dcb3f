// Ring: tests. libFuzzer target: the whole generation job, and the correlation
// job on short registers, from any list text, width, mode and register display,
// with small counts so that every input ends quickly. The log goes to a file;
// a completed run must hold exactly its header, one line per value and the end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "core/shift_register.h"
#include "jobs/cross_correlation.h"
#include "jobs/job_control.h"
#include "runtime/log_stream.h"
#include "jobs/quiet_front_end.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"

using namespace tapwell;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

std::size_t count_lines(const std::string& text) {
    std::size_t n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

// One log file serves every input, emptied before each run: opening a log
// starts its keeper process.
const char* log_path() {
    static const struct LogFile {
        char path[32] = "/tmp/tapwell-fuzz-log-XXXXXX";
        LogFile() {
            const int fd = mkstemp(path);
            check(fd >= 0 && log_open(path));
            close(fd);
        }
        ~LogFile() { std::remove(path); }
    } file;
    return file.path;
}

// Runs a job and returns what it logged.
template <typename Job>
std::string run_logged(Job job, int run_state) {
    const char* path = log_path();
    check(truncate(path, 0) == 0);
    QuietFrontEnd front;
    run_job_here(job, run_state, front);
    log_flush();
    std::ifstream in(path, std::ios::binary);
    std::string out((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    check(job_state() == JOB_NONE);
    check(setting(SET_RUN_STATE) == RUN_IDLE);
    check(std::char_traits<char>::length(text_slot(SLOT_RESULT)) < TEXT_SLOT_SIZE);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const int mode = data[0] % 4;  // 3 is a mode no button sets
    const unsigned width_byte = data[1];
    const std::uint32_t count = 1 + data[2] % 100;
    const bool show = (data[3] & 1) != 0;
    const std::string list(reinterpret_cast<const char*>(data + 4), size - 4);

    clear_shared_state();
    set_setting(SET_LANGUAGE, 1);
    set_setting(SET_GEN_MODE, mode);
    set_setting(SET_SHOW_REGISTER, show ? 1 : 0);
    const std::string width = width_byte >= 240 ? std::string("w") : std::to_string(width_byte % 40);
    set_text_slot(SLOT_WIDTH, width.c_str());
    set_text_slot(SLOT_OUTPUT_COUNT, std::to_string(count).c_str());
    set_text_slot(SLOT_POLY_LIST, list.c_str());

    const std::string log = run_logged(generate_sequences, RUN_GENERATE);
    const std::string status = status_text();
    if (status == "Completed.\n") {
        const int w = width_byte % 40;
        const std::size_t headers = mode == 0 ? 1 : mode == 1 ? static_cast<std::size_t>(w) : 2;
        check(count_lines(log) == headers + count + 1);
        check(generated_count.load() == count);
    } else {
        check(log.empty());
        check(status.empty() || status == "Invalid parameter\n");
    }

    // Correlation of the same list, when both registers are short enough.
    RegisterBank probe;
    parse_register_list(probe, text_slot(SLOT_POLY_LIST), 2);
    if (probe.registers[0].degree <= 7 && probe.registers[1].degree <= 7) {
        const std::string correlation = run_logged(correlate_pair, RUN_CORRELATE);
        if (!correlation.empty()) {
            const std::uint32_t period = 2u * probe.registers[0].top - 1u;
            check(count_lines(correlation) == period + 3);
            check(found_count.load() == period);
        } else {
            check(status_text() == "Invalid parameter\n");
        }
    }
    return 0;
}

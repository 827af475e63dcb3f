// Ring: bench. The family report's targets: the 32 GPS C/A codes, a whole
// Gold family of degree 10 and a small Kasami set of degree 16, each the
// median of a few runs with the peak memory of a process that runs it once,
// against the direct sum over every phase measured in the same run (on a
// sample of pairs, scaled to all of them).
//
//   tapwell-family-bench [--runs N] [--threads N]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tapwell/families.hpp"
#include "tapwell/pairs.hpp"
#include "tapwell/presets.hpp"

namespace {

using namespace tapwell;

double seconds_of(const std::function<void()>& body) {
    const auto t0 = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// CPU seconds of this process, every thread's: on a host shared with other
// work the wall-clock time says more of the neighbours than of the report.
double cpu_seconds() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

struct Timing {
    double wall, cpu;  // medians
};

Timing median_of(int runs, const std::function<void()>& body) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const double c0 = cpu_seconds();
        wall.push_back(seconds_of(body));
        cpu.push_back(cpu_seconds() - c0);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

// Peak resident memory, in KiB, of a child process that runs body once.
long peak_kib(const std::function<void()>& body) {
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status)) return -1;
    return usage.ru_maxrss;
}

// The direct sum over every phase of the first `pairs` pairs, in seconds per pair.
double direct_per_pair(const std::vector<std::uint8_t>& chips, std::size_t length, std::size_t pairs) {
    const std::size_t codes = chips.size() / length;
    std::size_t done = 0;
    volatile std::int64_t sink = 0;
    const double s = seconds_of([&] {
        for (std::size_t i = 0; i < codes && done < pairs; ++i) {
            for (std::size_t j = i + 1; j < codes && done < pairs; ++j, ++done) {
                const std::uint8_t* a = chips.data() + i * length;
                const std::uint8_t* b = chips.data() + j * length;
                std::int64_t peak = 0;
                for (std::size_t tau = 0; tau < length; ++tau) {
                    std::int64_t r = 0;
                    for (std::size_t t = 0; t < length; ++t) r += (a[t] ^ b[(t + tau) % length]) ? -1 : 1;
                    peak = std::max(peak, r < 0 ? -r : r);
                }
                sink = sink + peak;
            }
        }
    });
    return s / static_cast<double>(done);
}

struct Case {
    const char* name;
    std::vector<std::uint8_t> chips;
    std::size_t length;
    double target;  // seconds
    std::size_t sample;  // pairs of the direct sum
};

}  // namespace

int main(int argc, char** argv) {
    int runs = 3, threads = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
        if (flag == "--threads") threads = std::atoi(argv[i + 1]);
    }
    std::vector<Case> cases;
    {
        std::vector<std::uint8_t> gps;
        for (int prn = 1; prn <= 32; ++prn) {
            const std::vector<std::uint8_t> code = preset_code(preset("gps-ca-" + std::to_string(prn)));
            gps.insert(gps.end(), code.begin(), code.end());
        }
        cases.push_back({"GPS C/A codes 1-32 (32 x 1023)", std::move(gps), 1023, 0.1, 496});
    }
    {
        const Polynomial u = Polynomial::parse("10000001001");
        const GoldPair pair{u, partners(u)[0].polynomial};
        cases.push_back({"Gold family, degree 10 (1025 x 1023)", gold_family(pair), 1023, 10.0, 200});
    }
    cases.push_back({"small Kasami set, degree 16 (256 x 65535)",
                     kasami_family(KasamiSet::small, Polynomial::parse("x^16 + x^5 + x^3 + x^2 + 1", Notation::algebraic)),
                     65535, 30.0, 2});
    std::printf("load average at start: %s", [] {
        static char text[128] = "?\n";
        if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
            if (std::fgets(text, sizeof text, f) == nullptr) text[0] = 0;
            std::fclose(f);
        }
        return text;
    }());
    std::printf("%-44s %12s %12s %12s %14s %8s %8s\n", "family report", "median", "median cpu", "peak memory",
                "direct (est.)", "ratio", "target");
    for (const Case& c : cases) {
        FamilyCorrelationOptions options;
        options.run.threads = threads;
        const auto body = [&] { family_correlation(std::span<const std::uint8_t>(c.chips), c.length, options); };
        const Timing median = median_of(runs, body);
        const long kib = peak_kib(body);
        const std::size_t codes = c.chips.size() / c.length;
        const double direct = direct_per_pair(c.chips, c.length, c.sample) * static_cast<double>(codes * (codes - 1) / 2);
        std::printf("%-44s %10.3f s %10.3f s %8.1f MiB %12.1f s %7.0fx %8s\n", c.name, median.wall, median.cpu,
                    static_cast<double>(kib) / 1024.0, direct, direct / median.wall,
                    median.wall < c.target ? "met" : "MISSED");
        std::fflush(stdout);
    }
    return 0;
}

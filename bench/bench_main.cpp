// Ring: bench. Times each job's fast method on this machine against the
// straightforward method (and, for the primitive search, PARI/GP) in the same
// run, and prints a table with every target of the performance work.
//
//   tapwell-bench [--dir DIR] [--skip-32] [--only PREFIX] [--no-verify]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/berlekamp_massey.h"
#include "core/bit_text.h"
#include "core/notation.h"
#include "core/poly_order.h"
#include "core/poly_text.h"
#include "core/primitivity.h"
#include "core/primitivity_wide.h"
#include "core/shift_register.h"
#include "jobs/cross_correlation.h"
#include "jobs/job_control.h"
#include "jobs/line_builder.h"
#include "runtime/log_stream.h"
#include "jobs/preferred_pairs.h"
#include "jobs/primitive_search.h"
#include "library/parallel_transforms.h"
#include "library/partners.h"
#include "jobs/sequence_generation.h"
#include "runtime/worker_pool.h"
#include "jobs/quiet_front_end.h"
#include "jobs/shared_state.h"
#include "tapwell/tapwell.hpp"
#include "tests/reference/helpers.h"
#include "tests/reference/order_walk.h"
#include "tests/reference/stepping.h"

namespace tapwell::bench {
namespace {

struct Options {
    std::string dir = "/tmp/tapwell-bench";
    bool skip_32 = false;
    bool verify = true;
    std::string only;
};
Options options;

struct Row {
    std::string job;
    std::string case_text;
    double fast = NAN;       // seconds, median
    int fast_runs = 0;
    std::string reference;   // what the ratio is against
    double ref = NAN;        // seconds
    std::string target;
    bool met = false;
    bool ratio_of_fast = false;  // the ratio shown is fast / reference (a cost against a floor)
    long peak_kib = -1;      // peak resident memory of a process running the job once
};
std::vector<Row> rows;
std::vector<std::string> projections;

Row make_row(std::string job, std::string case_text) {
    Row r;
    r.job = std::move(job);
    r.case_text = std::move(case_text);
    return r;
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

std::string log_path() { return options.dir + "/bench.log"; }

// A fresh, empty log file for each timed run, so a run never pays for the last one's.
void fresh_log() {
    log_close();
    std::filesystem::remove(log_path());
    log_open(log_path().c_str());
}

// Peak resident memory, in KiB, of a child process that runs body once.
long peak_memory(const std::function<void()>& body) {
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        fresh_log();
        body();
        log_close();
        _exit(0);
    }
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid) return -1;
    if (!WIFEXITED(status)) { std::fprintf(stderr, "child status %d signal %d\n", status, WIFSIGNALED(status) ? WTERMSIG(status) : 0); return -1; }
    return usage.ru_maxrss;
}

// The median time of `runs` runs of body, each with a fresh log unless
// `with_log` is false (a measurement of memory alone: a log opened starts its
// writer process, which shares our memory until we write to it).
double median_of(int runs, const std::function<void()>& body, bool with_log = true) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        if (with_log) fresh_log();
        const auto t0 = std::chrono::steady_clock::now();
        body();
        if (with_log) log_flush();
        t.push_back(seconds_since(t0));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

std::string seconds_text(double s) {
    char buf[64];
    if (std::isnan(s)) return "-";
    if (s < 1e-4) std::snprintf(buf, sizeof buf, "%.2f \u00b5s", s * 1e6);
    else if (s < 1e-3) std::snprintf(buf, sizeof buf, "%.3f ms", s * 1e3);
    else if (s < 1) std::snprintf(buf, sizeof buf, "%.1f ms", s * 1e3);
    else std::snprintf(buf, sizeof buf, "%.2f s", s);
    return buf;
}

bool wanted(const std::string& name) { return options.only.empty() || name.rfind(options.only, 0) == 0; }

// Runs a job on this thread as a start command and its end routine would.
void run_job(const JobTask& job, int run_state) {
    QuietFrontEnd front;
    run_job_here(job, run_state, front);
}

using reference::fprintf_generation;
using reference::is_primitive;
using reference::stepping_correlation;
using reference::stepping_pairs;
using reference::walk_search;
using testing::lowest_of_degree;
std::string text_of(std::uint32_t g) {
    LineBuilder line;
    return std::string(line.polynomial(g).view());
}

// The inputs are read from the texts the window would hold, as tapwell-cli
// reads its options, so each job does what a whole-degree run of it does.
void run_search(int n) {
    const SearchInput input = read_search_input(lowest_of_degree(n).c_str(), "0");
    run_job([&input](FrontEnd& f) { return run_primitive_search(f, input); }, RUN_PRIMITIVE_SEARCH);
}

// The list a whole-degree search leaves the pair search: the degree's first
// FOUND_LIST_CAPACITY primitive polynomials in order (all of them up to
// degree 20). Taken from the library, so that no row depends on what an
// earlier row left in the window's state.
std::vector<std::uint32_t> primitive_list(int n) {
    PrimitiveSearch search;
    search.from = Polynomial::from_value(std::uint64_t{1} << (n - 1));
    search.count = FOUND_LIST_CAPACITY;
    std::vector<std::uint32_t> list;
    for (const Polynomial& p : primitive_polynomials(search)) list.push_back(static_cast<std::uint32_t>(p.value()));
    return list;
}

std::string correlation_list(std::uint32_t a, std::uint32_t b) {
    return text_of(a) + "\r\n1\r\n" + text_of(b) + "\r\n1";
}

void run_correlation(std::uint32_t a, std::uint32_t b) {
    const CorrelationInput input = read_correlation_input(correlation_list(a, b));
    run_job([&input](FrontEnd& f) { return tapwell::run_correlation(f, input); }, RUN_CORRELATE);
}

// Every pair of the list (count 0).
void run_pairs(const std::vector<std::uint32_t>& list) {
    const PairsInput input{list.data(), static_cast<std::uint32_t>(list.size()), 0};
    run_job([&input](FrontEnd& f) { return run_pair_search(f, input); }, RUN_PAIR_SEARCH);
}

// PARI/GP's search of the same degree: odd weight, irreducible, order 2^n - 1
// given the factorisation. Returns seconds (its own clock) or NAN.
double pari_search(int n, std::uint32_t expected) {
    const std::string script = options.dir + "/primitive.gp";
    if (std::FILE* f = std::fopen(script.c_str(), "w")) {
        std::fprintf(f,
                     "n=%d; N=2^n-1; F=factor(N); c=0; t0=getabstime();\n"
                     "{for(s=1, 2^(n-1)-1, v = 2^n + 2*s + 1;\n"
                     "  if(hammingweight(v)%%2==0, next);\n"
                     "  f = Pol(binary(v))*Mod(1,2);\n"
                     "  if(polisirreducible(f), a = ffgen(f, 'a); if(fforder(a, F) == N, c++)));}\n"
                     "print(c, \" \", getabstime()-t0);\n",
                     n);
        std::fclose(f);
    }
    const std::string command = "gp -q -f " + script + " </dev/null 2>/dev/null";
    std::FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return NAN;
    unsigned long count = 0, ms = 0;
    const int got = std::fscanf(p, "%lu %lu", &count, &ms);
    pclose(p);
    if (got != 2 || count != expected) return NAN;
    return ms / 1000.0;
}

void primitive_rows() {
    if (wanted("primitive-16")) {
        Row r = make_row("primitive search", "degree 16, whole degree, log to file");
        r.fast_runs = 7;
        r.fast = median_of(r.fast_runs, [] { run_search(16); });
        r.peak_kib = peak_memory([] { run_search(16); });
        r.reference = "order walk";
        r.ref = median_of(3, [] { walk_search(16); });
        r.target = ">= 1000x order walk";
        r.met = r.ref / r.fast >= 1000;
        rows.push_back(r);
    }
    if (wanted("primitive-20")) {
        Row r = make_row("primitive search", "degree 20, whole degree, log to file");
        r.fast_runs = 7;
        r.fast = median_of(r.fast_runs, [] { run_search(20); });
        r.peak_kib = peak_memory([] { run_search(20); });
        r.reference = "PARI/GP";
        r.ref = pari_search(20, 24000);
        r.target = ">= 30x PARI/GP";
        r.met = !std::isnan(r.ref) && r.ref / r.fast >= 30;
        rows.push_back(r);
    }
    struct Big {
        int n;
        int runs;
        double limit;
        const char* target;
    };
    const Big big[] = {{24, 3, 1.0, "< 1 s"}, {28, 1, 15.0, "< 15 s"}, {32, 1, 240.0, "< 4 min"}};
    for (const Big& b : big) {
        if (b.n == 32 && options.skip_32) continue;
        if (!wanted("primitive-" + std::to_string(b.n))) continue;
        Row r = make_row("primitive search", "degree " + std::to_string(b.n) + ", whole degree, log to file");
        r.fast_runs = b.runs;
        r.fast = median_of(b.runs, [&] { run_search(b.n); });
        if (b.n < 32) r.peak_kib = peak_memory([&] { run_search(b.n); });
        r.target = b.target;
        r.met = r.fast < b.limit;
        rows.push_back(r);
        fresh_log();  // do not leave gigabytes behind
    }
}

// A case of a job measured at one degree: against its straightforward method
// (the target is then a ratio) or against a time limit.
struct DegreeCase {
    int n;
    int runs;
    double limit;  // seconds, or the ratio to reach when against_reference
    const char* target;
    bool against_reference;
};

// One row per case for a job over a full list of primitive polynomials of the
// degree: fast(list) runs the job, reference(list, n) the straightforward method.
template <typename Fast, typename Reference>
void degree_rows(const char* key, const char* job, const char* case_text, const char* reference,
                 std::initializer_list<DegreeCase> cases, Fast fast, Reference slow) {
    for (const DegreeCase& c : cases) {
        if (!wanted(std::string(key) + "-" + std::to_string(c.n))) continue;
        const auto list = primitive_list(c.n);
        Row r = make_row(job, "degree " + std::to_string(c.n) + ", " + case_text);
        r.fast_runs = c.runs;
        r.fast = median_of(c.runs, [&] { fast(list); });
        r.peak_kib = peak_memory([&] { fast(list); });
        if (c.against_reference) {
            r.reference = reference;
            r.ref = median_of(1, [&] { slow(list, c.n); });
            r.met = r.ref / r.fast >= c.limit;
        } else {
            r.met = r.fast < c.limit;
        }
        r.target = c.target;
        rows.push_back(r);
    }
}

void correlation_rows() {
    degree_rows(
        "correlation", "cross-correlation", "all phases, log to file", "stepping",
        {{16, 5, 5000, ">= 5000x stepping", true}, {20, 5, 0.3, "< 0.3 s", false}, {24, 3, 3.0, "< 3 s", false}},
        [](const auto& list) { run_correlation(list.front(), list.back()); },
        [](const auto& list, int n) { stepping_correlation(n, list.front(), list.back()); });
}

void pair_rows() {
    degree_rows(
        "pairs", "preferred pairs", "full list, count 0, log to file", "stepping, early exit",
        {{11, 5, 1000, ">= 1000x stepping", true}, {13, 5, 0.2, "< 0.2 s", false}, {17, 1, 15.0, "< 15 s", false}},
        [](const auto& list) { run_pairs(list); },
        [](const auto& list, int n) {
            stepping_pairs(list.data(), static_cast<std::uint32_t>(list.size()), n, (1u << n) - 1u);
        });
}

// The pair search on short lists above degree 24: ten primitive polynomials
// from the lowest of the degree (at 25 and 31 the first two are a Gold pair).
void high_pair_rows() {
    struct Case {
        int n;
        double limit;
        const char* target;
    };
    for (const Case& c : {Case{25, 120.0, "< 2 min"}, Case{31, 0, "finishes"}}) {
        if (!wanted("pairs-" + std::to_string(c.n))) continue;
        std::vector<std::uint32_t> list(4096);
        list.resize(find_primitives(1u << (c.n - 1), (1u << (c.n - 1)) + 4095u, c.n, list.data()));
        list.resize(10);
        Row r = make_row("preferred pairs", "degree " + std::to_string(c.n) + ", list of 10, count 0, log to file");
        r.fast_runs = 1;
        r.fast = median_of(1, [&] { run_pairs(list); });
        r.target = c.target;
        r.met = c.limit == 0 || r.fast < c.limit;
        rows.push_back(r);
        std::printf("pairs-%d: found %u\n", c.n, found_count.load());
    }
}

// tapwell-cli partner's work: primitivity, then the partners.
void partner_rows() {
    struct Case {
        const char* key;
        const char* poly;
        bool exhaustive;
        bool verify;
        int runs;
        double limit;
        const char* text;
    };
    const Case cases[] = {
        {"partner-31", "x^31 + x^3 + 1", false, false, 5, 0.1, "degree 31, by theorem"},
        {"partner-63", "x^63 + x + 1", false, false, 5, 1.0, "degree 63, by theorem (64 is divisible by 4)"},
        {"partner-21", "x^21 + x^2 + 1", false, true, 3, 1.0, "degree 21, verified (20 is divisible by 4)"},
        {"partner-17", "x^17 + x^3 + 1", true, true, 3, 15.0, "degree 17, --exhaustive"},
    };
    for (const Case& c : cases) {
        if (!wanted(c.key)) continue;
        const PolyWord f = read_notation(c.poly, Notation::algebraic).poly;
        std::size_t count = 0;
        Row r = make_row("partner", c.text);
        r.fast_runs = c.runs;
        r.fast = median_of(c.runs, [&] {
            WorkerPool pool(pool_threads(0));
            std::vector<FoundPartner> partners;
            if (polynomial_facts(f).primitive) find_partners(pool, f, c.exhaustive, c.verify, partners);
            count = partners.size();
        });
        r.target = "< " + seconds_text(c.limit);
        r.met = count > 0 && r.fast < c.limit;
        rows.push_back(r);
        std::printf("%s: %zu partners\n", c.key, count);
    }
}

// The long kernels with one thread and with all the machine's cores, in the
// same run, for the targets of the parallel work; and a projection to 8 and
// 16 cores by Amdahl's law from the share of the work the two measured runs
// show to be parallel (marked as a projection: nothing was run there).
enum class ThreadJob { search, correlation, pairs };

void thread_rows() {
    const int cores = pool_threads(0);
    struct Case {
        ThreadJob job;
        const char* name;
        int n;
        int runs;
        double limit;       // seconds with all cores; 0: no time target
        bool against_one;   // the 1.7x target against one thread
    };
    const Case cases[] = {
        {ThreadJob::search, "primitive search, whole degree", 28, 3, 0, true},
        {ThreadJob::search, "primitive search, whole degree", 32, 1, 25.0, false},
        {ThreadJob::correlation, "cross-correlation, all phases", 24, 5, 0.3, true},
        {ThreadJob::pairs, "preferred pairs, full list", 17, 5, 2.5, true},
    };
    const char* keys[] = {"threads-search", "threads-correlation", "threads-pairs"};
    for (const Case& c : cases) {
        if (!wanted(keys[static_cast<int>(c.job)]) || (c.n == 32 && options.skip_32)) continue;
        const std::vector<std::uint32_t> list = c.job == ThreadJob::search ? std::vector<std::uint32_t>{} : primitive_list(c.n);
        const auto run = [&] {
            switch (c.job) {
                case ThreadJob::search: run_search(c.n); break;
                case ThreadJob::correlation: run_correlation(list.front(), list.back()); break;
                case ThreadJob::pairs: run_pairs(list); break;
            }
        };
        const std::string case_text = "degree " + std::to_string(c.n) + ", ";
        Row all = make_row(c.name, case_text + std::to_string(cores) + " threads");
        all.fast_runs = c.runs;
        all.target = c.limit > 0 ? "< " + seconds_text(c.limit) : "-";
        if (!c.against_one) {
            all.fast = median_of(c.runs, run);
            all.met = c.limit == 0 || all.fast < c.limit;
            rows.push_back(all);
            fresh_log();
            continue;
        }
        // One thread and all, run by turns, so that both meet the same
        // moments of a shared machine.
        Row one = make_row(c.name, case_text + "1 thread");
        one.fast_runs = c.runs;
        std::vector<double> one_times, all_times;
        for (int r = 0; r < c.runs; ++r) {
            set_job_threads(1);
            one_times.push_back(median_of(1, run));
            set_job_threads(0);
            all_times.push_back(median_of(1, run));
        }
        std::sort(one_times.begin(), one_times.end());
        std::sort(all_times.begin(), all_times.end());
        one.fast = one_times[one_times.size() / 2];
        all.fast = all_times[all_times.size() / 2];
        all.met = c.limit == 0 || all.fast < c.limit;
        all.peak_kib = peak_memory(run);
        set_job_threads(1);
        one.peak_kib = peak_memory(run);
        set_job_threads(0);
        one.target = "-";
        one.met = true;
        Row ratio = make_row(c.name, case_text + std::to_string(cores) + " threads against 1, same run");
        ratio.fast = all.fast;
        ratio.fast_runs = c.runs;
        ratio.reference = "1 thread";
        ratio.ref = one.fast;
        ratio.target = ">= 1.7x 1 thread";
        ratio.met = one.fast / all.fast >= 1.7;
        rows.insert(rows.end(), {one, all, ratio});
        const double parallel = cores > 1 ? (1 - all.fast / one.fast) * cores / (cores - 1) : 0;
        char note[200];
        std::snprintf(note, sizeof note, "%s, %s: measured %.2fx at %d threads; projection, not measured: %.1fx at 8 cores, %.1fx at 16",
                      c.name, (case_text + "1 thread against all").c_str(), one.fast / all.fast, cores,
                      1 / ((1 - parallel) + parallel / 8), 1 / ((1 - parallel) + parallel / 16));
        projections.push_back(note);
        fresh_log();
    }
}

// The memory's pace: a plain copy of 64 MiB, and the degree-24 transform
// (64 MiB of values, seven passes over them, each reading and writing) against
// seven such copies.
void bandwidth_rows() {
    if (!wanted("bandwidth")) return;
    const std::size_t size = std::size_t{64} << 20;
    std::vector<char> from(size, 1), to(size, 0);
    Row copy = make_row("memory", "copy of 64 MiB");
    copy.fast_runs = 7;
    log_close();
    copy.fast = median_of(7, [&] { std::memcpy(to.data(), from.data(), size); }, false);
    copy.target = "-";
    copy.met = true;
    rows.push_back(copy);
    std::vector<std::int32_t> values(std::size_t{1} << 24, 1);
    for (int threads : {1, 0}) {
        set_job_threads(threads);
        WorkerPool pool(pool_threads(threads));
        Row r = make_row("memory", "degree-24 transform, " + std::to_string(pool.size()) + " thread" +
                                      (pool.size() == 1 ? "" : "s") + ", against 7 copies");
        r.fast_runs = 5;
        r.fast = median_of(5, [&] { walsh_hadamard(pool, values.data(), 24); }, false);
        r.reference = "7 copies of 64 MiB";
        r.ref = 7 * copy.fast;
        r.target = "-";
        r.met = true;
        rows.push_back(r);
    }
    set_job_threads(0);
    std::printf("memory: a 64 MiB copy moves %.1f GB/s\n", 2.0 * size / copy.fast / 1e9);
}

// 2^24 values of each mode against the same lines written with one fprintf
// per line, from a bank stepped register by register.
void generation_rows() {
    if (!wanted("generation")) return;
    const std::vector<std::uint32_t> degree24 = primitive_list(24);
    std::string list32 = lowest_of_degree(32);  // register 0 of the parallel mode covers 32 bits
    for (std::uint32_t g = 1u << 31;; ++g) {
        if (is_primitive_fast(g, 32)) {
            list32 = text_of(g) + "\r\n1";
            break;
        }
    }
    struct Case {
        const char* text;
        int mode;
        int width;
        double target;
    };
    const Case cases[] = {
        {"2^24 serial values, width 1, log to file", 0, 1, 3},
        {"2^24 Gold values, width 1, log to file", 2, 1, 5},
        {"2^24 parallel values, width 32, log to file", 1, 32, 5},
    };
    const std::uint32_t count = 1u << 24;
    for (const Case& c : cases) {
        std::string list = c.mode == 1 ? list32 : text_of(degree24[0]) + "\r\n1";
        const int registers = c.mode == 0 ? 1 : c.mode == 1 ? c.width : 2;
        for (int j = 1; j < registers; ++j) list += "\r\n" + text_of(degree24[static_cast<std::size_t>(j)]) + "\r\n1";
        const GenerationInput input = read_generation_input(std::to_string(c.width).c_str(), std::to_string(count).c_str(),
                                                            list, c.mode, false);
        const auto generate = [&] { run_job([&input](FrontEnd& f) { return run_generation(f, input); }, RUN_GENERATE); };
        Row r = make_row("generation", c.text);
        r.fast_runs = 5;
        r.fast = median_of(r.fast_runs, generate);
        r.peak_kib = peak_memory(generate);
        r.reference = "fprintf per line";
        r.ref = median_of(5, [&] {
            log_close();
            RegisterBank bank;
            parse_register_list(bank, list, REGISTER_COUNT);
            bank.output_width = c.width;
            bank.output_count = count;
            std::FILE* f = std::fopen(log_path().c_str(), "w");
            fprintf_generation(f, bank, c.mode);
            std::fclose(f);
        });
        r.target = ">= " + std::to_string(static_cast<int>(c.target)) + "x fprintf";
        r.met = r.ref / r.fast >= c.target;
        rows.push_back(r);
    }
}

// What tapwell-cli identify does with its input text: read the bits, run
// Berlekamp-Massey, and ask whether the polynomial found is primitive.
bool identify_text(const std::string& text, std::size_t expected_length) {
    const BitReading input = read_bit_text(text);
    const LinearRecurrence r = linear_recurrence(input.bits);
    const PolyWord p = characteristic_polynomial(r);
    if (p.degree != 0) (void)polynomial_facts(p).primitive;
    return r.length == expected_length;
}

void identify_rows() {
    if (wanted("identify-msequence")) {
        // 10^6 bits of the M-sequence of x^64 + x^4 + x^3 + x + 1.
        const PolyWord p = read_notation("x^64 + x^4 + x^3 + x + 1", Notation::algebraic).poly;
        const std::uint64_t top = top_of(p), taps = taps_of64(p.value, top);
        std::string text;
        std::uint64_t state = 1;
        for (int i = 0; i < 1000000; ++i) {
            text += (state & 1u) ? '1' : '0';
            state = register_step64(state, taps, top);
        }
        Row r = make_row("identify", "10^6 bits of an M-sequence of degree 64: read, Berlekamp-Massey, primitive test");
        r.fast_runs = 5;
        bool right = true;
        r.fast = median_of(r.fast_runs, [&] { right = identify_text(text, 64) && right; });
        r.target = "< 0.1 s";
        r.met = right && r.fast < 0.1;
        rows.push_back(r);
    }
    if (wanted("identify-random")) {
        std::string text;
        // splitmix64, whose multiplications keep it far from any short linear
        // recurrence (a shift-and-xor generator would be found at length 64).
        std::uint64_t x = 1;
        for (int i = 0; i < 100000; ++i) {
            std::uint64_t z = (x += 0x9E3779B97F4A7C15u);
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
            text += ((z ^ (z >> 31)) >> 63) ? '1' : '0';
        }
        Row r = make_row("identify", "10^5 random bits: read, Berlekamp-Massey (linear complexity about 50000)");
        r.fast_runs = 3;
        bool right = true;
        r.fast = median_of(r.fast_runs, [&] {
            const LinearRecurrence l = linear_recurrence(read_bit_text(text).bits);
            right = right && l.length > 49000 && l.length < 51000;
        });
        r.target = "< 1 s";
        r.met = right && r.fast < 1.0;
        rows.push_back(r);
    }
    if (wanted("describe")) {
        // The facts of describe for a primitive and a reducible polynomial of degree 64.
        const char* polys[] = {"x^64 + x^4 + x^3 + x + 1", "x^64 + x^9 + x^7 + x + 1", "x^64 + x^63 + x^33 + x^2 + 1"};
        Row r = make_row("describe", "degree 64: factors, order, primitivity of three polynomials");
        r.fast_runs = 5;
        r.fast = median_of(r.fast_runs, [&] {
            for (const char* text : polys) {
                const PolyWord p = read_notation(text, Notation::algebraic).poly;
                (void)polynomial_facts(p);
                for (Notation n : ALL_NOTATIONS) (void)write_notation(p, n);
            }
        }) / 3;
        r.target = "< 0.1 s each";
        r.met = r.fast < 0.1;
        rows.push_back(r);
    }
}

// Two ways of doing one piece of work, timed by turns (`runs` of each) so that
// both meet the same moments of a shared machine; the median of each. A run
// with `log` gets a fresh log and is timed to its last write; one without runs
// with no log open. before_b, untimed, readies each run of b (drops what the
// last one handed back, which the caller would keep, or writes the caller's
// array once: each fresh log forks its writer, and the first write to a page
// after a fork is a fault of its own, about 25 ms for 64 MiB here, which a
// caller whose array is its own never pays).
std::pair<double, double> by_turns(int runs, const std::function<void()>& a, bool a_log,
                                   const std::function<void()>& b, bool b_log,
                                   const std::function<void()>& before_b = {}) {
    std::vector<double> ta, tb;
    for (int i = 0; i < runs; ++i) {
        if (!a_log) log_close();
        ta.push_back(median_of(1, a, a_log));
        if (!b_log) log_close();
        if (before_b) before_b();
        tb.push_back(median_of(1, b, b_log));
    }
    std::sort(ta.begin(), ta.end());
    std::sort(tb.begin(), tb.end());
    return {ta[ta.size() / 2], tb[tb.size() / 2]};
}

// The library's calls with their results in the caller's memory, beside the
// jobs that log the same work to a file: handing values over must never cost
// more than formatting and writing them. And the correlation's cost above its
// transform alone (core's kernel on a pool of every core, into an array that
// is already the process's), which is what a caller's array may add.
void library_rows() {
    const std::string against_job = "the job, log to file";
    if (wanted("library-search")) {
        constexpr int n = 28;
        std::vector<Polynomial> finds;
        std::uint32_t job_found = 0;
        const auto [job, memory] = by_turns(
            3, [&] { run_search(n); job_found = found_count.load(); }, true,
            [&] { finds = primitive_polynomials(n); }, false, [&] { std::vector<Polynomial>().swap(finds); });
        Row r = make_row("primitive search", "degree 28, whole degree, tapwell::primitive_polynomials into memory");
        r.fast_runs = 3;
        r.fast = memory;
        r.reference = against_job;
        r.ref = job;
        r.target = ">= 1.0x the job";
        r.met = finds.size() == job_found && finds.size() == testing::totient((1u << n) - 1) / n && job / memory >= 1.0;
        rows.push_back(r);
        std::printf("library-search: %zu finds in memory, %u logged\n", finds.size(), job_found);
    }
    const bool correlation = wanted("library-correlation"), transform = wanted("library-transform");
    if (correlation || transform) {
        constexpr int n = 24;
        const std::vector<std::uint32_t> list = primitive_list(n);
        const Polynomial a = Polynomial::from_value(list.front()), b = Polynomial::from_value(list.back());
        const std::size_t phases = (std::size_t{1} << n) - 1;
        std::vector<std::int32_t> r32(phases);
        const auto library32 = [&] { correlate_all_phases(a, b, std::span<std::int32_t>(r32)); };
        if (correlation) {
            std::vector<std::int64_t> r64(phases);
            const auto [job32, memory32] = by_turns(
                5, [&] { run_correlation(list.front(), list.back()); }, true, library32, false,
                [&] { std::fill(r32.begin(), r32.end(), 0); });
            const auto [job64, memory64] = by_turns(
                5, [&] { run_correlation(list.front(), list.back()); }, true,
                [&] { correlate_all_phases(a, b, std::span<std::int64_t>(r64)); }, false,
                [&] { std::fill(r64.begin(), r64.end(), 0); });
            const bool same = std::equal(r32.begin(), r32.end(), r64.begin());
            const std::pair<const char*, std::pair<double, double>> cases[] = {
                {"degree 24, all phases, correlate_all_phases into a caller's int32 array", {job32, memory32}},
                {"degree 24, all phases, correlate_all_phases into a caller's int64 array", {job64, memory64}},
            };
            for (const auto& [text, times] : cases) {
                Row r = make_row("cross-correlation", text);
                r.fast_runs = 5;
                r.fast = times.second;
                r.reference = against_job;
                r.ref = times.first;
                r.target = ">= 1.0x the job";
                r.met = same && times.first / times.second >= 1.0;
                rows.push_back(r);
            }
        }
        if (transform) {
            // As the library plans and allocates it: one chunk of 2^24 values
            // (state 0 among them, no phase), cleared by the kernel itself.
            const CorrelationPlan plan = plan_correlation(n, taps_of(polynomial_of(a.value())), taps_of(polynomial_of(b.value())));
            WorkerPool pool(pool_threads(0));
            const std::unique_ptr<std::int32_t[]> values(new std::int32_t[std::size_t{1} << plan.chunk_bits]);
            bool done = correlate_chunk(pool, plan, 0, values.get());
            library32();
            const bool same = done && plan.chunk_count == 1 && std::equal(r32.begin(), r32.end(), values.get() + 1);
            const auto [library, alone] = by_turns(
                5, library32, false, [&] { done = correlate_chunk(pool, plan, 0, values.get()) && done; }, false);
            Row r = make_row("cross-correlation", "degree 24, all phases, correlate_all_phases into a caller's int32 array, against the transform alone");
            r.fast_runs = 5;
            r.fast = library;
            r.reference = "transform alone, " + std::to_string(pool.size()) + " threads";
            r.ref = alone;
            r.ratio_of_fast = true;
            r.target = "<= 1.3x transform";
            r.met = same && done && library / alone <= 1.3;
            rows.push_back(r);
        }
    }
    if (wanted("library-generation")) {
        const std::uint32_t count = 1u << 24;
        const std::uint32_t poly = primitive_list(24).front();
        const GenerationInput input = read_generation_input("1", std::to_string(count).c_str(), text_of(poly) + "\r\n1", 0, false);
        Generation generation;
        generation.mode = GenerationMode::serial;
        generation.width = 1;
        generation.registers = {Register{Polynomial::from_value(poly), 1}};
        std::vector<std::uint32_t> values(count);
        const auto [job, memory] = by_turns(
            5, [&] { run_job([&input](FrontEnd& f) { return run_generation(f, input); }, RUN_GENERATE); }, true,
            [&] { tapwell::generate(generation, std::span<std::uint32_t>(values)); }, false,
            [&] { std::fill(values.begin(), values.end(), 0u); });
        const std::vector<std::uint8_t> bits = register_bits(generation.registers[0], count);
        Row r = make_row("generation", "2^24 serial values, width 1, tapwell::generate into a caller's array");
        r.fast_runs = 5;
        r.fast = memory;
        r.reference = against_job;
        r.ref = job;
        r.target = ">= 1.0x the job";
        r.met = std::equal(values.begin(), values.end(), bits.begin()) && job / memory >= 1.0;
        rows.push_back(r);
    }
    if (wanted("library-parse")) {
        // Degree 64, each verdict checked against PARI/GP's polisirreducible
        // and fforder.
        struct Case {
            const char* text;
            std::vector<const char*> polys;
            bool primitive;
        };
        const Case cases[] = {
            {"primitive (3 polynomials)",
             {"x^64 + x^4 + x^3 + x + 1", "x^64 + x^4 + x^3 + x^2 + 1", "x^64 + x^7 + x^6 + x^5 + x^4 + x^2 + 1"},
             true},
            {"irreducible, not primitive (2)", {"x^64 + x^9 + x^7 + x + 1", "x^64 + x^7 + x^3 + x^2 + 1"}, false},
            {"reducible (2)", {"x^64 + x^63 + x^33 + x^2 + 1", "x^64 + x^3 + x + 1"}, false},
        };
        constexpr int batches = 21, calls = 3000;
        for (const Case& c : cases) {
            bool right = true;
            std::vector<double> t;
            for (int k = 0; k < batches; ++k) {
                const auto t0 = std::chrono::steady_clock::now();
                for (int i = 0; i < calls; ++i) {
                    const char* text = c.polys[static_cast<std::size_t>(i) % c.polys.size()];
                    right = Polynomial::parse(text, Notation::algebraic).is_primitive() == c.primitive && right;
                }
                t.push_back(seconds_since(t0) / calls);
            }
            std::sort(t.begin(), t.end());
            Row r = make_row("polynomial", std::string("degree 64, Polynomial::parse (algebraic) then is_primitive, per call (batches of ") +
                                               std::to_string(calls) + "): " + c.text);
            r.fast_runs = batches;
            r.fast = t[t.size() / 2];
            r.target = "-";
            r.met = right;
            rows.push_back(r);
        }
    }
}

// The primitivity test at degree 64 per candidate: the order test with the
// known primes of 2^n - 1, against the factorisation it replaced (both on
// the same candidates, by turns); then a search of degree 64 on every core.
void wide_search_rows() {
    if (!wanted("primitive-64")) return;
    const std::uint64_t top = std::uint64_t{1} << 63;
    std::vector<std::uint64_t> consecutive, primitive;
    for (std::uint64_t v = top + 1; consecutive.size() < 2000; ++v) consecutive.push_back(v);
    for (const Polynomial& p : primitive_polynomials(PrimitiveSearch{Polynomial::from_value(top), 200})) {
        primitive.push_back(p.value());
    }
    struct Case {
        const char* text;
        const std::vector<std::uint64_t>* candidates;
    };
    for (const Case& c : {Case{"the first 2000 candidates after x^64 + 1", &consecutive},
                          Case{"the first 200 primitive polynomials", &primitive}}) {
        constexpr int batches = 7;
        std::vector<double> fast, old;
        std::size_t agree = 0;
        for (int k = 0; k < batches; ++k) {
            std::size_t a = 0, b = 0;
            auto t0 = std::chrono::steady_clock::now();
            for (std::uint64_t v : *c.candidates) a += is_primitive_wide(v, 64);
            fast.push_back(seconds_since(t0) / static_cast<double>(c.candidates->size()));
            t0 = std::chrono::steady_clock::now();
            for (std::uint64_t v : *c.candidates) b += polynomial_facts({v, 64}).primitive;
            old.push_back(seconds_since(t0) / static_cast<double>(c.candidates->size()));
            agree += a == b;
        }
        std::sort(fast.begin(), fast.end());
        std::sort(old.begin(), old.end());
        Row r = make_row("primitive test", std::string("degree 64, per candidate: ") + c.text);
        r.fast_runs = batches;
        r.fast = fast[fast.size() / 2];
        r.reference = "factorisation (polynomial_facts)";
        r.ref = old[old.size() / 2];
        r.target = ">= 10x";
        r.met = agree == batches && r.ref / r.fast >= 10;
        rows.push_back(r);
    }
    Row r = make_row("primitive search", "degree 64, the first 1000 finds from x^64 + 1, tapwell::primitive_polynomials, all cores");
    r.fast_runs = 5;
    std::size_t finds = 0;
    r.fast = median_of(5, [&] { finds = primitive_polynomials(PrimitiveSearch{Polynomial::from_value(top), 1000}).size(); },
                       false);
    r.target = "-";
    r.met = finds == 1000;
    rows.push_back(r);
}

// Every candidate of degrees 15 and 16 through the fast test and the walk
// (the unit tests sweep 3 to 14).
bool verify_sweep() {
    bool ok = true;
    for (int n = 15; n <= 16; ++n) {
        const std::uint32_t top = 1u << (n - 1);
        std::vector<std::uint32_t> fast(top);
        fast.resize(find_primitives(top, 2 * top - 1, n, fast.data()));
        std::vector<std::uint32_t> walk;
        for (std::uint32_t g = top; g < 2 * top; ++g) {
            if (is_primitive(g, n)) walk.push_back(g);
        }
        std::size_t single = 0;
        for (std::uint32_t g = top; g < 2 * top; ++g) single += is_primitive_fast(g, n, Gf2Engine::portable);
        const bool same = fast == walk && single == walk.size();
        std::printf("verify: degree %d, %u candidates, %zu primitive: fast and order walk %s\n", n, top,
                    walk.size(), same ? "agree" : "DISAGREE");
        ok = ok && same;
    }
    return ok;
}

void print_table() {
    std::printf("\n| job | case | fast (median) | reference | reference time | ratio | target | met | peak memory |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
    int met = 0;
    for (const Row& r : rows) {
        std::string ratio = "-";
        if (!std::isnan(r.ref) && !std::isnan(r.fast)) {
            char buf[32];
            const double times = r.ratio_of_fast ? r.fast / r.ref : r.ref / r.fast;
            std::snprintf(buf, sizeof buf, times < 10 ? "%.2fx" : "%.0fx", times);
            ratio = buf;
        }
        char memory[32] = "-";
        if (r.peak_kib > 0) std::snprintf(memory, sizeof memory, "%.1f MiB", r.peak_kib / 1024.0);
        std::printf("| %s | %s | %s (%d run%s) | %s | %s | %s | %s | %s | %s |\n", r.job.c_str(), r.case_text.c_str(),
                    seconds_text(r.fast).c_str(), r.fast_runs, r.fast_runs == 1 ? "" : "s",
                    r.reference.empty() ? "-" : r.reference.c_str(), seconds_text(r.ref).c_str(), ratio.c_str(),
                    r.target.c_str(), r.met ? "yes" : "NO", memory);
        met += r.met;
    }
    std::printf("\ntargets met: %d of %zu\n", met, rows.size());
    for (const std::string& p : projections) std::printf("%s\n", p.c_str());
}

}  // namespace
}  // namespace tapwell::bench

int main(int argc, char** argv) {
    using namespace tapwell::bench;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--dir" && i + 1 < argc) options.dir = argv[++i];
        else if (a == "--skip-32") options.skip_32 = true;
        else if (a == "--no-verify") options.verify = false;
        else if (a == "--only" && i + 1 < argc) options.only = argv[++i];
        else {
            std::fprintf(stderr, "usage: tapwell-bench [--dir DIR] [--skip-32] [--no-verify] [--only PREFIX]\n");
            return 2;
        }
    }
    std::filesystem::create_directories(options.dir);
    std::printf("carry-less multiply instruction: %s\n", tapwell::has_carryless_multiply() ? "used" : "not available");
    bool ok = true;
    if (options.verify && options.only.empty()) ok = verify_sweep();
    primitive_rows();
    correlation_rows();
    pair_rows();
    high_pair_rows();
    partner_rows();
    generation_rows();
    identify_rows();
    library_rows();
    wide_search_rows();
    thread_rows();
    bandwidth_rows();
    tapwell::log_close();
    std::filesystem::remove(log_path());
    print_table();
    return ok ? 0 : 1;
}

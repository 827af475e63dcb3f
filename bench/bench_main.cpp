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
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_front_end.h"
#include "tests/reference/bench_reference.h"
#include "tests/reference/order_walk.h"
#include "core/berlekamp_massey.h"
#include "core/bit_text.h"
#include "core/notation.h"
#include "core/poly_order.h"
#include "core/poly_text.h"
#include "core/primitivity.h"
#include "core/shift_register.h"
#include "jobs/cross_correlation.h"
#include "jobs/line_builder.h"
#include "jobs/log_stream.h"
#include "jobs/preferred_pairs.h"
#include "jobs/primitive_search.h"
#include "jobs/sequence_generation.h"
#include "jobs/shared_state.h"

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
    long peak_kib = -1;      // peak resident memory of a process running the job once
};
std::vector<Row> rows;

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

double median_of(int runs, const std::function<void()>& body) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        fresh_log();
        const auto t0 = std::chrono::steady_clock::now();
        body();
        log_flush();
        t.push_back(seconds_since(t0));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

bool wanted(const std::string& name) { return options.only.empty() || name.rfind(options.only, 0) == 0; }

std::string lowest(int n) {
    std::string text(static_cast<std::size_t>(n) + 1, '0');
    text.front() = '1';
    text.back() = '1';
    return text;
}
std::string text_of(std::uint32_t g) {
    LineBuilder line;
    return std::string(line.polynomial(g).view());
}

void run_search(int n) {
    set_text_slot(SLOT_SEARCH_FROM, lowest(n).c_str());
    set_text_slot(SLOT_FIND_COUNT, "0");
    run_job(search_primitive, RUN_PRIMITIVE_SEARCH);
}

// The full list of a degree in FoundList, by the fast search.
std::vector<std::uint32_t> fill_found_list(int n) {
    fresh_log();
    run_search(n);
    return std::vector<std::uint32_t>(FoundList.begin(), FoundList.begin() + found_list_count);
}

void run_correlation(std::uint32_t a, std::uint32_t b) {
    const std::string list = text_of(a) + "\r\n1\r\n" + text_of(b) + "\r\n1";
    set_text_slot(SLOT_POLY_LIST, list.c_str());
    run_job(correlate_pair, RUN_CORRELATE);
}

void run_pairs() {
    set_text_slot(SLOT_FIND_COUNT, "0");
    run_job(search_preferred_pairs, RUN_PAIR_SEARCH);
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
        const auto list = fill_found_list(c.n);
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
        [](const auto&) { run_pairs(); },
        [](const auto& list, int n) {
            stepping_pairs(list.data(), static_cast<std::uint32_t>(list.size()), n, (1u << n) - 1u);
        });
}

void generation_rows() {
    if (!wanted("generation")) return;
    const int n = 24;
    const std::uint32_t poly = fill_found_list(n).front();
    const std::uint32_t count = 1u << 24;
    Row r = make_row("generation", "2^24 serial values, width 1, log to file");
    r.fast_runs = 5;
    r.fast = median_of(r.fast_runs, [&] {
        set_setting(SET_GEN_MODE, 0);
        set_setting(SET_SHOW_REGISTER, 0);
        set_text_slot(SLOT_WIDTH, "1");
        set_text_slot(SLOT_OUTPUT_COUNT, std::to_string(count).c_str());
        set_text_slot(SLOT_POLY_LIST, (text_of(poly) + "\r\n1").c_str());
        run_job(generate_sequences, RUN_GENERATE);
    });
    r.peak_kib = peak_memory([&] {
        set_text_slot(SLOT_OUTPUT_COUNT, std::to_string(count).c_str());
        run_job(generate_sequences, RUN_GENERATE);
    });
    r.reference = "fprintf per line";
    r.ref = median_of(5, [&] {
        log_close();
        std::FILE* f = std::fopen(log_path().c_str(), "w");
        fprintf_generation(f, poly, n, count);
        std::fclose(f);
    });
    r.target = ">= 3x fprintf";
    r.met = r.ref / r.fast >= 3;
    rows.push_back(r);
}

// What tapwell-cli identify does with its input text: read the bits, run
// Berlekamp-Massey, and ask whether the polynomial found is primitive.
bool identify_text(const std::string& text, std::size_t expected_length) {
    const BitReading input = read_bit_text(text);
    const LinearRecurrence r = linear_recurrence(input.bits);
    const Polynomial p = characteristic_polynomial(r);
    if (p.degree != 0) (void)polynomial_facts(p).primitive;
    return r.length == expected_length;
}

void identify_rows() {
    if (wanted("identify-msequence")) {
        // 10^6 bits of the M-sequence of x^64 + x^4 + x^3 + x + 1.
        const Polynomial p = read_notation("x^64 + x^4 + x^3 + x + 1", Notation::algebraic).poly;
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
                const Polynomial p = read_notation(text, Notation::algebraic).poly;
                (void)polynomial_facts(p);
                for (Notation n : ALL_NOTATIONS) (void)write_notation(p, n);
            }
        }) / 3;
        r.target = "< 0.1 s each";
        r.met = r.fast < 0.1;
        rows.push_back(r);
    }
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

std::string seconds_text(double s) {
    char buf[64];
    if (std::isnan(s)) return "-";
    if (s < 1e-3) std::snprintf(buf, sizeof buf, "%.3f ms", s * 1e3);
    else if (s < 1) std::snprintf(buf, sizeof buf, "%.1f ms", s * 1e3);
    else std::snprintf(buf, sizeof buf, "%.2f s", s);
    return buf;
}

void print_table() {
    std::printf("\n| job | case | fast (median) | reference | reference time | ratio | target | met | peak memory |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
    int met = 0;
    for (const Row& r : rows) {
        std::string ratio = "-";
        if (!std::isnan(r.ref) && !std::isnan(r.fast)) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.0fx", r.ref / r.fast);
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
    generation_rows();
    identify_rows();
    tapwell::log_close();
    std::filesystem::remove(log_path());
    print_table();
    return ok ? 0 : 1;
}

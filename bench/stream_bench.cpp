// Ring: bench. Streams into a file on tmpfs: 10^9 bits of PRBS31 packed,
// against writing as many bytes from memory in the same run, and every
// degree to 64 against PRBS31. Medians of five runs; ratios and whether the
// targets are met.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tapwell/streams.hpp"

namespace {

using namespace tapwell;

constexpr std::uint64_t BITS = 1'000'000'000;
constexpr int RUNS = 5;

std::string directory = "/dev/shm";

template <typename Write>
double median_seconds(Write write) {
    std::vector<double> times;
    const std::string path = directory + "/tapwell-stream-bench.bin";
    for (int run = 0; run < RUNS; ++run) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            std::perror(path.c_str());
            std::exit(2);
        }
        const auto start = std::chrono::steady_clock::now();
        write(f);
        std::fflush(f);
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::fclose(f);
        std::remove(path.c_str());
    }
    std::sort(times.begin(), times.end());
    return times[RUNS / 2];
}

double stream_seconds(const Register& reg) {
    const StreamRequest request{{{reg}}, 0, BITS, StreamFormat::packed, BitOrder::msb_first};
    return median_seconds([&](std::FILE* f) {
        write_stream(request, [f](std::span<const std::uint8_t> piece) { std::fwrite(piece.data(), 1, piece.size(), f); });
    });
}

// Algebraic text, or the window's binary digits for the dense rows.
Register register_of(const char* text, RegisterForm form = RegisterForm::fibonacci) {
    const bool binary = text[0] == '1';
    return {binary ? Polynomial::parse(text) : Polynomial::parse(text, Notation::algebraic), 1, form};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::string(argv[1]) == "--dir") directory = argv[2];
    // The baseline: the same bytes, already in memory, in pieces of 1 MiB.
    std::vector<std::uint8_t> bytes(BITS / 8, 0x5A);
    const double memory = median_seconds([&](std::FILE* f) {
        for (std::size_t at = 0; at < bytes.size(); at += 1 << 20) {
            std::fwrite(bytes.data() + at, 1, std::min<std::size_t>(1 << 20, bytes.size() - at), f);
        }
    });
    bytes = {};
    const double prbs31 = stream_seconds(register_of("x^31 + x^28 + 1"));
    std::printf("stream: 10^9 bits packed into %s, median of %d runs\n", directory.c_str(), RUNS);
    std::printf("  %-34s %8.3f s\n", "bytes from memory", memory);
    std::printf("  %-34s %8.3f s  %5.2fx memory  target < 0.25 s and < 2x: %s\n", "PRBS31 x^31+x^28+1", prbs31,
                prbs31 / memory, prbs31 < 0.25 && prbs31 < 2 * memory ? "met" : "NOT met");
    const struct {
        const char* name;
        const char* poly;
        RegisterForm form;
        bool target = true;  // false: shown for comparison only
    } rows[] = {
        {"degree 7", "x^7 + x^6 + 1", RegisterForm::fibonacci},
        {"degree 33", "x^33 + x^20 + 1", RegisterForm::fibonacci},
        {"degree 41", "x^41 + x^3 + 1", RegisterForm::fibonacci},
        {"degree 47", "x^47 + x^5 + 1", RegisterForm::fibonacci},
        {"degree 58 (64b/66b)", "x^58 + x^19 + 1", RegisterForm::fibonacci},
        {"degree 64", "x^64 + x^4 + x^3 + x + 1", RegisterForm::fibonacci},
        {"degree 64 Galois", "x^64 + x^4 + x^3 + x + 1", RegisterForm::galois},
        // Registers of many terms go by the byte tables instead: no standard's
        // register is one, so they are shown for comparison only.
        {"degree 31, 15 terms", "10101010101010101010110000010101", RegisterForm::fibonacci, false},
        {"degree 64, 33 terms", "10101010101010101010101010101010101010101010101010101010110001011",
         RegisterForm::fibonacci, false},
        {"degree 64, 33 terms Galois", "10101010101010101010101010101010101010101010101010101010110001011",
         RegisterForm::galois, false},
    };
    bool all = true;
    for (const auto& row : rows) {
        const double t = stream_seconds(register_of(row.poly, row.form));
        const bool met = t < 2 * prbs31;
        if (!row.target) {
            std::printf("  %-34s %8.3f s  %5.2fx PRBS31  (for comparison)\n", row.name, t, t / prbs31);
            continue;
        }
        all = all && met;
        std::printf("  %-34s %8.3f s  %5.2fx PRBS31  target < 2x: %s\n", row.name, t, t / prbs31, met ? "met" : "NOT met");
    }
    return all && prbs31 < 0.25 && prbs31 < 2 * memory ? 0 : 1;
}

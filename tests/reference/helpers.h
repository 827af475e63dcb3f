// Ring: tests. Small things every test ring needs: the written form of a
// polynomial value, the texts of whole degrees, the count of primitive
// polynomials, and how soon a stop must land.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "core/poly_text.h"

namespace tapwell::testing {

// The text a log line gives a polynomial value: its bits and the constant "1".
inline std::string poly_text(std::uint32_t value) { return std::string(format_binary(value).view()) + "1"; }

// x^n + 1 as typed, the lowest start of a degree-n search: 1 0...0 1.
inline std::string lowest_of_degree(int n) {
    std::string text(static_cast<std::size_t>(n) + 1, '0');
    text.front() = '1';
    text.back() = '1';
    return text;
}

// Euler's totient, by trial division: phi(2^n - 1) / n polynomials of degree
// n are primitive.
inline std::uint64_t totient(std::uint64_t m) {
    std::uint64_t result = m;
    for (std::uint64_t p = 2; p * p <= m; ++p) {
        if (m % p != 0) continue;
        while (m % p == 0) m /= p;
        result -= result / p;
    }
    if (m > 1) result -= result / m;
    return result;
}

// A stop request ends any job within this, whatever it is doing. Sanitizer
// builds run several times slower, and first touches of fresh memory far
// slower under ThreadSanitizer's shadow: they get a looser bound, still far
// below a job that ignores the stop (a degree-26 correlation takes 40 s there).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr auto STOP_BOUND = std::chrono::milliseconds(1000);
#else
constexpr auto STOP_BOUND = std::chrono::milliseconds(50);
#endif

}  // namespace tapwell::testing

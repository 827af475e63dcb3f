// Ring: tests. Published lists of primitive polynomials, as data, for the
// tests of the search beyond degree 32 and for the PARI/GP oracle.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tapwell::reference {

// Philip Koopman's tables of maximal-length LFSR feedback terms
// (users.ece.cmu.edu/~koopman/lfsr/, file 64.txt, "starting value =
// 0x8000000000000000"): the first ten entries of size 64, in his notation
// (the polynomial without its constant term, shifted down one: our value).
// The page itself is not in the reference store this was checked with; every
// entry is checked primitive by PARI/GP in the oracle test as well.
inline constexpr std::array<std::uint64_t, 10> KOOPMAN_64_FIRST_TEN = {
    0x800000000000000Dull, 0x800000000000000Eull, 0x800000000000007Aull, 0x80000000000000BAull,
    0x80000000000000D0ull, 0x80000000000000EFull, 0x8000000000000128ull, 0x8000000000000165ull,
    0x80000000000001A3ull, 0x80000000000001E4ull,
};

// The widely reprinted application-note table of taps for maximal-length
// LFSRs of 3 to 168 bits, rows 33 to 64: the taps n, a, b, ... stand for
// x^n + x^a + x^b + ... + 1 (the table's XNOR form has the same taps).
inline const std::vector<std::vector<int>> TAPS_33_TO_64 = {
    {33, 20}, {34, 27, 2, 1}, {35, 33}, {36, 25}, {37, 5, 4, 3, 2, 1}, {38, 6, 5, 1},
    {39, 35}, {40, 38, 21, 19}, {41, 38}, {42, 41, 20, 19}, {43, 42, 38, 37}, {44, 43, 18, 17},
    {45, 44, 42, 41}, {46, 45, 26, 25}, {47, 42}, {48, 47, 21, 20}, {49, 40}, {50, 49, 24, 23},
    {51, 50, 36, 35}, {52, 49}, {53, 52, 38, 37}, {54, 53, 18, 17}, {55, 31}, {56, 55, 35, 34},
    {57, 50}, {58, 39}, {59, 58, 38, 37}, {60, 59}, {61, 60, 46, 45}, {62, 61, 6, 5},
    {63, 62}, {64, 63, 61, 60},
};

// The window's word (bits x^n .. x^1) of a row of taps.
inline std::uint64_t value_of_taps(const std::vector<int>& taps) {
    std::uint64_t v = 0;
    for (int t : taps) v |= std::uint64_t{1} << (t - 1);
    return v;
}

}  // namespace tapwell::reference

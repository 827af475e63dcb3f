// Ring: core. Preferred pairs by decimation. Every M-sequence of degree n is
// the reference M-sequence u decimated by some d coprime to 2^n - 1 (u_(d k));
// d and 2d give the same sequence, so only the cyclotomic coset of d counts.
// Two M-sequences u_(dA k) and u_(dB k) have, over all phases, the same
// correlation values as u against u decimated by q = dB / dA mod 2^n - 1, and
// as u against u decimated by q^-1; so whether a pair is preferred is a
// property of the coset of q (and of q^-1) alone.
//
// Known exactly without computing (the theorems this file holds as data):
// the pair (u, u_(d k)) takes only -1, -t(n) and t(n) - 2 for the Gold
// decimations d = 2^k + 1 and the Kasami decimations d = 2^(2k) - 2^k + 1
// when gcd(n, k) = 1 for odd n, or gcd(n, k) = 2 for n = 2 mod 4, and so for
// their inverses; for n divisible by 4 no pair does (McGuire and Calderbank).
// Every other coset needs its correlation (jobs/pair_classifier).
#pragma once

#include <cstdint>
#include <vector>

#include "core/berlekamp_massey.h"
#include "core/field_log.h"
#include "core/poly_word.h"
#include "tapwell/partner_family.hpp"

namespace tapwell {

// The smallest member of d's cyclotomic coset modulo 2^n - 1: the least
// rotation of d's n bits. 1 <= n <= 64.
std::uint64_t coset_leader(std::uint64_t d, int n);

// a * b mod 2^n - 1 for a, b below 2^n - 1, any n up to 64.
std::uint64_t mersenne_product(std::uint64_t a, std::uint64_t b, int n);

// d^-1 mod 2^n - 1 for d coprime to it; 0 when it is not.
std::uint64_t mersenne_inverse(std::uint64_t d, int n);

// The polynomial (degree n, the window's notation) of the register whose
// output is f's from state 1 decimated by d: Berlekamp-Massey on 2n terms,
// term k being u_(d k), the constant term of x^(d k) mod f (no sequence of
// length 2^n is stored). f primitive of degree n <= 64; {0, 0} when the
// decimated sequence has a shorter recurrence (d not coprime to 2^n - 1).
PolyWord decimation_polynomial(PolyWord f, std::uint64_t d, BerlekampMassey& bm);

// The decimation d of f's sequence (log.f) whose characteristic polynomial is
// g, primitive of the same degree: the logarithm of a root of g, confirmed by
// decimation_polynomial. 0 when that does not give g back (g not primitive).
std::uint64_t decimation_of(const FieldLog& log, PolyWord g, BerlekampMassey& bm);


struct FamilyDecimation {
    std::uint64_t d;      // 2^k + 1 or 2^(2k) - 2^k + 1, or the inverse of one
    PartnerFamily family;  // gold or kasami
    int k;
    bool inverse;         // d is the inverse of the family's decimation
};

// The Gold and Kasami decimations of degree n with their preferred values,
// and their inverses, one per coset (a direct one before an inverse, Gold
// before Kasami, k rising), for 3 <= n <= 64; none for n divisible by 4.
std::vector<FamilyDecimation> preferred_family_decimations(int n);

// A byte, not_preferred zero: a pair search passes millions of rows of them.
enum class PairVerdict : std::uint8_t { not_preferred, preferred, unknown, stopped };

// What the theorems say of the coset of the ratio q, 3 <= n <= 64:
// `preferred_leaders` is the sorted coset leaders of
// preferred_family_decimations(n) (family_leaders gives them).
std::vector<std::uint64_t> family_leaders(int n);
PairVerdict verdict_by_theorem(std::uint64_t q, int n, const std::vector<std::uint64_t>& preferred_leaders);

}  // namespace tapwell

// Ring: tests. The table of the prime factors of 2^n - 1: each row multiplies
// out to 2^n - 1, and each factor is proved prime by Miller-Rabin with the
// first twelve primes as bases, which is a proof below 3.3 * 10^24.
#include <gtest/gtest.h>

#include "core/mersenne_factors.h"

namespace tapwell {
namespace {

using u128 = unsigned __int128;  // native tests only: GCC and clang

std::uint64_t mul_mod(std::uint64_t a, std::uint64_t b, std::uint64_t m) {
    return static_cast<std::uint64_t>(static_cast<u128>(a) * b % m);
}

std::uint64_t pow_mod(std::uint64_t a, std::uint64_t e, std::uint64_t m) {
    std::uint64_t r = 1 % m;
    for (a %= m; e != 0; e >>= 1) {
        if (e & 1u) r = mul_mod(r, a, m);
        a = mul_mod(a, a, m);
    }
    return r;
}

bool is_prime(std::uint64_t n) {
    if (n < 2) return false;
    constexpr std::uint64_t BASES[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
    for (std::uint64_t p : BASES) {
        if (n % p == 0) return n == p;
    }
    std::uint64_t d = n - 1;
    int s = 0;
    while ((d & 1u) == 0) {
        d >>= 1;
        ++s;
    }
    for (std::uint64_t a : BASES) {
        std::uint64_t x = pow_mod(a, d, n);
        if (x == 1 || x == n - 1) continue;
        bool composite = true;
        for (int r = 1; r < s && composite; ++r) {
            x = mul_mod(x, x, n);
            composite = x != n - 1;
        }
        if (composite) return false;
    }
    return true;
}

TEST(MersenneFactors, EveryRowMultipliesOutAndHoldsPrimes) {
    for (int n = 1; n <= 64; ++n) {
        const MersenneFactors& f = mersenne_factors(n);
        ASSERT_EQ(f.n, n);
        u128 product = 1;
        std::uint64_t last = 0;
        for (int i = 0; i < f.count(); ++i) {
            const PrimePower& p = f.factors[i];
            EXPECT_TRUE(is_prime(p.prime)) << n << ": " << p.prime;
            EXPECT_GT(p.prime, last) << n;
            EXPECT_GE(p.exponent, 1) << n;
            last = p.prime;
            for (int e = 0; e < p.exponent; ++e) product *= p.prime;
        }
        EXPECT_TRUE(product == (static_cast<u128>(1) << n) - 1) << n;
    }
}

TEST(MersenneFactors, MillerRabinKnowsCompositesAndPrimes) {
    EXPECT_TRUE(is_prime(2305843009213693951u));   // 2^61 - 1
    EXPECT_FALSE(is_prime(3215031751u));           // strong pseudoprime to bases 2, 3, 5, 7
    EXPECT_FALSE(is_prime(18446744073709551615u));
    EXPECT_FALSE(is_prime(4294967297u));           // 2^32 + 1 = 641 * 6700417
}

}  // namespace
}  // namespace tapwell

// Ring: core. See primitivity.h.
#include "core/primitivity.h"

#include <bit>
#include <cstring>
#include <vector>

#include "core/bit_words.h"
#include "core/mersenne.h"
#include "core/mersenne_factors.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#elif defined(_MSC_VER) && defined(_M_X64)
#include <intrin.h>
#endif

namespace tapwell {

namespace {

struct Plans {
    detail::OrderPlan plan[65];
    Plans() {
        for (int n = 2; n <= 64; ++n) {
            const MersenneFactors& f = mersenne_factors(n);
            detail::OrderPlan& p = plan[n];
            p.count = 0;
            const std::uint64_t order = mersenne(n);
            for (int i = 0; i < f.count(); ++i) {
                const std::uint64_t e = order / f.factors[i].prime;
                if (e == 1) continue;  // q = 2^n - 1: x^1 = x is never 1
                // x^e = 1 exactly when x^(e+1) = x; use the one with fewer products.
                const bool shift = std::popcount(e + 1) < std::popcount(e);
                p.exponent[p.count] = shift ? e + 1 : e;
                p.target[p.count] = shift ? 2 : 1;
                ++p.count;
            }
        }
    }
};

// Irreducible polynomials of degree 2..16 (constant term included, x and x + 1
// left out), in increasing order, found by sieving all polynomials below x^17.
// For each one, x^(17 + j) mod Q for j = 0..15: the sieve's offset of a block.
struct SmallIrreducibles {
    std::vector<std::uint32_t> poly;
    std::vector<std::uint16_t> block_residue;  // 16 per polynomial
    std::size_t count_up_to_degree[17] = {};
    std::uint64_t odd_weight[PRIMITIVE_BLOCK / 64];  // bit L: popcount(L) is odd

    SmallIrreducibles() {
        constexpr std::uint32_t LIMIT = 1u << 17;
        // Eratosthenes over polynomials: the multiples of every irreducible of
        // degree <= 8 are exactly the reducible ones below x^17.
        std::vector<std::uint8_t> composite(LIMIT, 0);
        std::vector<std::uint32_t> multiple(LIMIT);
        for (std::uint32_t a = 2; a < (1u << 9); ++a) {
            if (composite[a]) continue;
            const int da = static_cast<int>(std::bit_width(a)) - 1;
            const std::uint32_t count = LIMIT >> da;
            multiple[0] = 0;
            for (std::uint32_t b = 1; b < count; ++b) {
                multiple[b] = (multiple[b >> 1] << 1) ^ ((b & 1u) ? a : 0u);  // a * b
                if (b >= 2) composite[multiple[b]] = 1;
            }
        }
        for (std::uint32_t a = 7; a < LIMIT; a += 2) {
            if (!composite[a]) poly.push_back(a);
        }
        for (std::uint32_t q : poly) {
            const int d = static_cast<int>(std::bit_width(q)) - 1;
            std::uint32_t r = 1;  // x^k mod q
            for (int k = 0; k < 17 + 16; ++k) {
                if (k >= 17) block_residue.push_back(static_cast<std::uint16_t>(r));
                r <<= 1;
                if (r >> d & 1u) r ^= q;
            }
        }
        for (int d = 0; d <= 16; ++d) {
            std::size_t c = 0;
            while (c < poly.size() && static_cast<int>(std::bit_width(poly[c])) - 1 <= d) ++c;
            count_up_to_degree[d] = c;
        }
        std::memset(odd_weight, 0, sizeof odd_weight);
        for (std::uint32_t l = 0; l < PRIMITIVE_BLOCK; ++l) {
            if (std::popcount(l) & 1) set_bit(odd_weight, l);
        }
    }
};

const SmallIrreducibles& small_irreducibles() {
    static const SmallIrreducibles table;
    return table;
}

bool detect_carryless_multiply() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0) return false;
    return (c & (1u << 1)) != 0;  // PCLMULQDQ
#elif defined(_MSC_VER) && defined(_M_X64)
    int info[4];
    __cpuid(info, 1);
    return (info[2] & (1 << 1)) != 0;
#else
    return false;
#endif
}

std::uint32_t keep_primitive(const std::uint32_t* candidates, std::uint32_t count, int n,
                             bool irreducible_known, std::uint32_t* finds, Gf2Engine engine) {
    if (engine == Gf2Engine::best && has_carryless_multiply()) {
        return detail::keep_primitive_clmul(candidates, count, n, irreducible_known, finds);
    }
    return detail::keep_primitive_portable(candidates, count, n, irreducible_known, finds);
}

// Marks in `composite` (bit L) every offset L of the block at `base` whose
// polynomial x * (base + L) + 1 has an irreducible factor of degree <= n / 2.
// What is left unmarked is irreducible: a reducible polynomial of degree n has
// a factor of at most half its degree, and x never divides it.
void sieve_block(std::uint32_t base, int n, std::uint64_t* composite) {
    const SmallIrreducibles& t = small_irreducibles();
    // Even weight: divisible by x + 1.
    const std::uint64_t invert = (std::popcount(base) & 1) ? ~std::uint64_t{0} : 0;
    for (std::uint32_t w = 0; w < PRIMITIVE_BLOCK / 64; ++w) composite[w] = t.odd_weight[w] ^ invert;
    const std::uint32_t high = base >> 16;
    const std::size_t count = t.count_up_to_degree[n / 2 < 16 ? n / 2 : 16];
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t q = t.poly[i];
        const int d = static_cast<int>(std::bit_width(q)) - 1;
        // c = (x * base + 1) mod q; the offsets L with x * L = c (mod q) are marked.
        std::uint32_t c = 1;
        const std::uint16_t* res = &t.block_residue[i * 16];
        for (std::uint32_t h = high; h != 0; h &= h - 1) c ^= res[std::countr_zero(h)];
        std::uint32_t l = (c & 1u) ? (c ^ q) >> 1 : c >> 1;
        // Every L = l + M * q with deg M < 16 - d, in Gray-code order.
        const std::uint32_t steps = 1u << (16 - d);
        set_bit(composite, l);
        for (std::uint32_t k = 1; k < steps; ++k) {
            l ^= q << std::countr_zero(k);
            set_bit(composite, l);
        }
    }
}

}  // namespace

namespace detail {
const OrderPlan& order_plan(int n) {
    static const Plans plans;
    return plans.plan[n];
}
}  // namespace detail

bool has_carryless_multiply() {
    static const bool present = detect_carryless_multiply();
    return present;
}

bool is_primitive_fast(std::uint32_t g, int n, Gf2Engine engine) {
    std::uint32_t found = 0;
    return keep_primitive(&g, 1, n, false, &found, engine) == 1;
}

std::uint32_t find_primitives(std::uint32_t first, std::uint32_t last, int n, std::uint32_t* finds,
                              Gf2Engine engine) {
    std::uint64_t composite[PRIMITIVE_BLOCK / 64];
    std::uint32_t total = 0;
    std::uint32_t g = first;
    while (true) {
        const std::uint32_t base = g & ~(PRIMITIVE_BLOCK - 1u);
        const std::uint32_t block_last = base + (PRIMITIVE_BLOCK - 1u);
        const std::uint32_t stop = last < block_last ? last : block_last;
        sieve_block(base, n, composite);
        // The irreducible candidates go to the end of finds first; the order
        // test then writes the primitive ones at the front, never overtaking.
        std::uint32_t* irreducible = finds + total;
        std::uint32_t count = 0;
        for (std::uint32_t l = g - base; l <= stop - base; ++l) {
            if (!bit_at(composite, l)) irreducible[count++] = base + l;
        }
        total += keep_primitive(irreducible, count, n, true, finds + total, engine);
        if (stop == last) break;
        g = stop + 1;
    }
    return total;
}

}  // namespace tapwell

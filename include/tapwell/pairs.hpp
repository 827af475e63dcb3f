// tapwell: preferred pairs: two M-sequences of one degree whose periodic
// cross-correlation takes only the values -1, -t(n) and t(n) - 2 at every
// phase (correlation.hpp). None exist at degrees divisible by 4.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "tapwell/export.hpp"
#include "tapwell/partner_family.hpp"
#include "tapwell/polynomial.hpp"
#include "tapwell/preferred_values.hpp"
#include "tapwell/run_options.hpp"

namespace tapwell {

// A pair of a list, by the entries' indices, first < second.
struct IndexPair {
    std::size_t first;
    std::size_t second;
    friend bool operator==(const IndexPair&, const IndexPair&) = default;
};

// The preferred pairs among a list of polynomials of one degree (3 to 32),
// in the window's order: (i, j) for i < j, row after row. Entries that are
// not primitive never pair. `count`: pairs after which to stop, 0 for all.
// Throws InvalidArgument for fewer than two entries or mixed degrees.
TAPWELL_API std::vector<IndexPair> preferred_pairs(std::span<const Polynomial> list, std::uint64_t count = 0,
                                                   const RunOptions& options = {});

// Every value of the pair's correlation with the number of phases that take it.
struct PairValue {
    std::int64_t value;
    std::uint64_t count;
};
struct PairCheck {
    bool preferred = false;
    std::int64_t t = 0;             // t(n) of the degree
    std::vector<PairValue> values;  // in increasing order of value
};
// Whether two primitive polynomials of one degree (3 to 32) are a preferred
// pair, with their whole spectrum. Throws InvalidArgument for other degrees,
// a degree divisible by 4 is answered (never preferred), for polynomials that
// are not primitive.
TAPWELL_API PairCheck check_pair(Polynomial a, Polynomial b, const RunOptions& options = {});

struct Partner {
    Polynomial polynomial;
    std::uint64_t decimation;  // the family's value, or the least of its coset
    PartnerFamily family;
    bool verified;             // all phases computed; otherwise known by theorem
};

struct PartnerSearch {
    // Every decimation coprime to 2^n - 1 examined, so that the list is
    // complete (to degree 20); otherwise the Gold and Kasami ones.
    bool exhaustive = false;
    // All phases of every partner computed (to degree 32).
    bool verify = false;
};

// The preferred partners of a primitive polynomial of degree 5 to 64, its
// degree not divisible by 4, sorted by polynomial. Throws InvalidArgument
// otherwise.
TAPWELL_API std::vector<Partner> partners(Polynomial f, const PartnerSearch& search = {},
                                          const RunOptions& options = {});

}  // namespace tapwell

// tapwell: the families of decimations known to give preferred pairs.
#pragma once

#include "tapwell/export.hpp"

namespace tapwell {

// Gold: d = 2^k + 1; Kasami: d = 2^(2k) - 2^k + 1 (each with gcd(n, k) = 1
// for odd n, 2 for n = 2 mod 4); other: found by examining every decimation.
enum class PartnerFamily { gold, kasami, other };

// "Gold", "Kasami", "other".
TAPWELL_API const char* partner_family_name(PartnerFamily family) noexcept;

}  // namespace tapwell

// Ring: core. A bit sequence typed as text: the characters '0' and '1', white
// space between them ignored. Anything else is refused with its position.
#pragma once

#include <string>
#include <string_view>

#include "core/berlekamp_massey.h"

namespace tapwell {

struct BitReading {
    BitSequence bits;
    std::string error;  // empty when read
    bool ok() const { return error.empty(); }
};

BitReading read_bit_text(std::string_view text);

}  // namespace tapwell

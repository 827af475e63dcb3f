// Ring: library. The shortest register of bits already packed 64 a word, as
// tapwell-cli identify reads them: the same answer as berlekamp_massey
// (tapwell/recurrence.hpp), without a byte per bit.
#pragma once

#include "core/berlekamp_massey.h"
#include "tapwell/recurrence.hpp"

namespace tapwell {

// Throws Stopped when stop asks before it is done.
Recurrence recurrence_of(const BitSequence& bits, const StopCheck& stop = {});

}  // namespace tapwell

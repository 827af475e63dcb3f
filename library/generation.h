// Ring: library. The window's generation: values of `width` bits from a bank
// of registers (core/shift_register.h) in one of three modes (serial words
// of one register, one register per bit, Gold), each value as the window
// logs it. Handed over a block of values at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/shift_register.h"
#include "library/run_context.h"
#include "tapwell/sequences.hpp"

namespace tapwell {

struct GenerationRequest {
    GenerationMode mode = GenerationMode::serial;
    RegisterBank bank;         // its output_width and output_count as the request's
    bool with_states = false;  // the registers' states beside each value (serial, Gold)
};

// Whether the window takes the request: a width of 1 to 32, register 0
// usable and at least as long as a value, and the registers of the mode
// usable (parallel: 0 .. width - 1; Gold: 0 and 1).
bool generation_valid(const GenerationRequest& request);
// The values the request asks for: its count, or 2^n - 1 (n register 0's
// degree) when that is 0.
std::uint32_t generation_count(const GenerationRequest& request);

// Values index .. index + count - 1; with_states: the state of register 0
// (serial, Gold) and of register 1 (Gold) from which each value was taken.
struct GeneratedValues {
    std::uint64_t index = 0;
    std::size_t count = 0;
    const std::uint32_t* values = nullptr;
    const std::uint32_t* state_a = nullptr;
    const std::uint32_t* state_b = nullptr;
};

class GenerationSink {
public:
    // In order, on the calling thread. False ends the run.
    virtual bool take(const GeneratedValues& block) = 0;

protected:
    ~GenerationSink() = default;
};

// Values per block: small enough to stay in the cache, large enough that the
// call costs nothing beside them.
constexpr std::size_t GENERATION_BLOCK = 4096;

// A valid request's values, generation_count of them.
RunEnd generate_values(const GenerationRequest& request, const RunContext& context, GenerationSink& sink);

}  // namespace tapwell

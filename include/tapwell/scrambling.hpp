// tapwell: scrambling and descrambling data with a register's output.
//
// The data is a stream of bits, 8 a byte, taken from each byte most
// significant bit first (BitOrder::msb_first) or least significant first.
//
// Additive (synchronous): every data bit is added to the source's output
// (tapwell/streams.hpp) from chip 0; descrambling is the same operation.
//
// Multiplicative (self-synchronous): the register holds the last n bits
// sent, bit 0 the oldest, bit n - 1 the latest (a Fibonacci state,
// tapwell/sequences.hpp). Each bit sent is the data bit plus the parity of
// the taps of the polynomial over that state (with data of zeros, what the
// register would put out n bits later); the descrambler holds the last n bits
// received and adds the same parity back. Started in any other state, a
// descrambler gives the data back from the n-th bit on.
#pragma once

#include <cstdint>
#include <span>

#include "tapwell/export.hpp"
#include "tapwell/streams.hpp"

namespace tapwell {

enum class ScrambleKind : int { additive = 0, multiplicative = 1 };

struct ScrambleRequest {
    BitSource source;  // multiplicative: one register, in Fibonacci form
    ScrambleKind kind = ScrambleKind::additive;
    bool descramble = false;
    BitOrder order = BitOrder::msb_first;
};

// A scrambler that keeps its place between calls, so that data can be
// passed in pieces of any size. Throws InvalidArgument from the constructor
// for a source that cannot scramble (none, or for multiplicative not exactly
// one Fibonacci register).
class TAPWELL_API Scrambler {
public:
    explicit Scrambler(const ScrambleRequest& request);
    ~Scrambler();
    Scrambler(const Scrambler&) = delete;
    Scrambler& operator=(const Scrambler&) = delete;

    // The bytes of `data` scrambled (or descrambled) in place.
    void process(std::span<std::uint8_t> data);

private:
    void self_synchronous(std::span<std::uint8_t> data);
    struct State;
    State* state_;
};

}  // namespace tapwell

// Ring: library. What the Verilog, VHDL and C writers share: the request
// checked, the registers' nets, the header comment's lines, the names a
// module uses inside (refused as its name), and the testbench's words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/hdl_net.h"
#include "tapwell/hdl.hpp"

namespace tapwell {

struct HdlDesign {
    HdlRequest request;
    int state_bits = 0;               // the stages of all registers
    XorNet net;                       // the generator
    std::vector<std::string> header;  // the header comment, a line each, no comment marks
    // The checker (one register): advancing its prediction W steps and
    // reloading it from the n bits last received.
    XorNet advance, reload;
    int fill_words = 0, match_words = 0;
};

// Checks the request (throws InvalidArgument in words) and builds what the
// writers print.
HdlDesign hdl_design(const HdlRequest& request);

// Bit p of a W-bit port for the bit put out t-th in the word.
inline int port_bit(const HdlRequest& r, int t) {
    return r.bit_order == HdlBitOrder::first_at_msb ? r.width - 1 - t : t;
}

// The seeds of all registers as one vector: register 0 in the low bits.
std::vector<std::uint8_t> seed_bits(const HdlDesign& design);

// The testbench's words as the W-bit port shows them, in hex, most
// significant digit first, ceil(W / 4) digits.
std::vector<std::string> testbench_words(const HdlDesign& design);
std::string hex_of_bits(const std::vector<std::uint8_t>& bits);  // bit 0 = least significant

// The bits the checker's testbench flips: (word, port bit), words in
// increasing order, all after the checker has locked.
struct FlippedBit {
    std::size_t word;
    int bit;
};
std::vector<FlippedBit> injected_errors(const HdlDesign& design);

}  // namespace tapwell

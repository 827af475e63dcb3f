// Ring: library. The logic of a register stepped W times as a net of XORs
// over the present state's stages, in the two styles the writers put into
// Verilog, VHDL and C: every writer prints the same net, so that all three
// languages and the size counts agree. Plain data; no text.
#pragma once

#include <cstdint>
#include <vector>

#include "tapwell/hdl.hpp"

namespace tapwell {

// Signals 0 .. inputs - 1 are the present state's stages; signal inputs + k
// is node k, the XOR of its operands (earlier signals).
struct XorNet {
    int inputs = 0;
    std::vector<std::vector<int>> nodes;
    std::vector<int> output;  // W signals, in time order
    std::vector<int> next;    // `inputs` signals: the state after W steps
};

// One register's logic (degree n, inputs 0 .. n - 1), W steps.
XorNet register_net(const Register& reg, int width, HdlStyle style);

// The registers' logic side by side (register r's stages after those of
// registers 0 .. r - 1), their outputs XORed bit by bit.
XorNet summed_net(const std::vector<Register>& registers, int width, HdlStyle style);

// The checker's logic for the sequence of a register of degree n, as its
// Fibonacci form: from the n bits last received (bit 0 the oldest), the state
// at the start of the next word (`next`, no outputs).
XorNet reload_net(const Register& reg);

// Two-input XORs (k - 1 for a node of k operands) and the deepest path, a
// node of k operands counting as a balanced tree of depth ceil(log2 k).
HdlSize net_size(const XorNet& net);

}  // namespace tapwell

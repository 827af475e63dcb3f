// tapwell: registers as logic. A register (or the sum of two, a Gold code)
// written as a synthesizable Verilog-2001 or VHDL-2008 module, or as C99,
// that puts out W bits a clock: the register stepped W times as one linear
// map over GF(2) (sequences.hpp gives the register's conventions). Beside the
// generator, a checker that locks onto the sequence and counts bit errors,
// and a self-checking testbench holding the library's own output.
//
// The generator's ports: clk; rst (synchronous, active high: back to the
// seed); en (step W times this clock); load (seed_in becomes the state, over
// en); seed_in (the state: register 0's stages in its low bits, bit 0 the
// stage put out first, register 1's above them); data_out (the W bits of the
// present state, bit t the t-th in time, or bit W - 1 - t with
// HdlBitOrder::first_at_msb). The checker's: clk, rst, en, data_in (W bits, the
// same order), locked, errors (32 bits, saturating). A Gold code's checker
// runs the one register of the sum, whose polynomial is the product of the
// two (their degrees together at most 64).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tapwell/export.hpp"
#include "tapwell/sequences.hpp"

namespace tapwell {

enum class HdlLanguage : int { verilog = 0, vhdl = 1, c = 2 };
// flat: every bit an XOR of stages of the present state, one level of logic.
// chained: bits already computed in the same clock reused, fewest XORs (never
// more than the register unrolled W times).
enum class HdlStyle : int { flat = 0, chained = 1 };
enum class HdlBitOrder : int { first_at_lsb = 0, first_at_msb = 1 };
enum class HdlUnit : int {
    generator = 0,
    checker = 1,            // the module <name>_checker
    generator_testbench = 2,  // <name>_tb, checking the generator <name>
    checker_testbench = 3,    // <name>_checker_tb, errors injected at known bits
};

inline constexpr int HDL_MAX_WIDTH = 1024;
// A testbench holds its words as constants: at most this many, and at most
// HDL_MAX_TESTBENCH_BITS bits in all.
inline constexpr std::size_t HDL_MAX_TESTBENCH_WORDS = 100000;
inline constexpr std::uint64_t HDL_MAX_TESTBENCH_BITS = std::uint64_t{1} << 24;

struct HdlRequest {
    // One register, or two whose outputs are XORed (a Gold code); degrees 1 to 64.
    std::vector<Register> registers;
    HdlLanguage language = HdlLanguage::verilog;
    HdlUnit unit = HdlUnit::generator;
    int width = 1;  // W, 1 to HDL_MAX_WIDTH
    HdlStyle style = HdlStyle::flat;
    HdlBitOrder bit_order = HdlBitOrder::first_at_lsb;
    // An identifier of the language, none of its reserved words (Verilog's
    // include SystemVerilog's) nor a name the module uses inside.
    std::string name = "tapwell_lfsr";
    // The output inverted, as some standards put their register out (a
    // preset says so); the checker then expects the inverted sequence.
    bool inverted = false;
    std::size_t words = 0;  // testbenches: the words checked, 1 to HDL_MAX_TESTBENCH_WORDS
};

// The text of the unit asked for (for C, the generator whatever `unit` says
// of modules: a state struct and <name>_init, <name>_load, <name>_step).
// Throws InvalidArgument, in words, for a request outside these ranges.
TAPWELL_API std::string hdl_text(const HdlRequest& request);

// The two-input XORs of the generator's next-state and output logic as
// written (an XOR of k bits counts k - 1, as a balanced tree), and the
// longest path through them.
struct HdlSize {
    std::uint64_t xors = 0;
    int depth = 0;
};
TAPWELL_API HdlSize hdl_size(const HdlRequest& request);

// The words a checker's testbench needs before the checker counts errors:
// it fills its history, then sees that many words agree.
TAPWELL_API std::size_t hdl_checker_lock_words(const HdlRequest& request);

}  // namespace tapwell

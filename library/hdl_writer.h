// Ring: library. The three writers of a checked design, one per language,
// and the one way each prints a net's nodes.
#pragma once

#include <string>
#include <string_view>

#include "library/hdl_design.h"

namespace tapwell {

std::string verilog_text(const HdlDesign& design);
std::string vhdl_text(const HdlDesign& design);
std::string c_text(const HdlDesign& design);

// Names a net's signals: inputs as `input`[i] with the language's brackets,
// nodes as single signals `nodes`k, or as bits of one vector.
struct NetNames {
    std::string_view input, nodes;
    char open = '[', close = ']';
    bool indexed_nodes = false;  // nodes as `nodes`[k], bits of one vector
    std::string operator()(const XorNet& net, int s) const;
};

// One line per node, "<indent><nodes>k<assign>a<xor>b ...<end>".
std::string node_lines(const XorNet& net, const NetNames& names, std::string_view indent, std::string_view assign,
                       std::string_view xor_word, std::string_view end);

// A language's four texts, and the one the request asks for.
struct UnitWriters {
    std::string (*generator)(const HdlDesign&);
    std::string (*checker)(const HdlDesign&);
    std::string (*generator_testbench)(const HdlDesign&);
    std::string (*checker_testbench)(const HdlDesign&);
};
std::string unit_text(const UnitWriters& writers, const HdlDesign& design);

// The header lines behind a comment mark.
std::string comment_lines(const HdlDesign& design, std::string_view mark);

}  // namespace tapwell

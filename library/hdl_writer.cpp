// Ring: library. What the writers print alike: signal names and node lines.
#include "library/hdl_writer.h"

namespace tapwell {

std::string NetNames::operator()(const XorNet& net, int s) const {
    if (s >= net.inputs) {
        const std::string k = std::to_string(s - net.inputs);
        return std::string(nodes) + (indexed_nodes ? open + k + close : k);
    }
    return std::string(input) + open + std::to_string(s) + close;
}

std::string node_lines(const XorNet& net, const NetNames& names, std::string_view indent, std::string_view assign,
                       std::string_view xor_word, std::string_view end) {
    std::string text;
    for (std::size_t k = 0; k < net.nodes.size(); ++k) {
        text += indent;
        text += names(net, net.inputs + static_cast<int>(k));
        text += assign;
        bool first = true;
        for (int s : net.nodes[k]) {
            if (!first) text += xor_word;
            text += names(net, s);
            first = false;
        }
        text += end;
        text += '\n';
    }
    return text;
}

std::string unit_text(const UnitWriters& writers, const HdlDesign& design) {
    switch (design.request.unit) {
        case HdlUnit::checker: return writers.checker(design);
        case HdlUnit::generator_testbench: return writers.generator_testbench(design);
        case HdlUnit::checker_testbench: return writers.checker_testbench(design);
        default: return writers.generator(design);
    }
}

std::string comment_lines(const HdlDesign& design, std::string_view mark) {
    std::string text;
    for (const std::string& line : design.header) {
        text += mark;
        text += ' ';
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace tapwell

// Ring: library. The Verilog-2001 writer: the generator, the checker and
// their testbenches. Written so that verilator --lint-only -Wall has nothing
// to say: every declared bit is driven and read, widths match exactly.
#include <algorithm>
#include <bit>
#include <string>

#include "library/hdl_writer.h"

namespace tapwell {

namespace {

std::string num(long long v) { return std::to_string(v); }
std::string range(int bits) { return "[" + num(bits - 1) + ":0]"; }
std::string literal(int bits, const std::string& hex) { return num(bits) + "'h" + hex; }

// The width of the checker's count of differing bits in one word (at least 2,
// so that the widening constant below is never of width 0).
int count_bits(int width) { return std::max(2, static_cast<int>(std::bit_width(static_cast<unsigned>(width)))); }

// The nodes as the bits of one vector computed in one combinational block,
// in order, each from the ones before it. A simulator runs the block as one
// process a clock, where a wire a node would be an event each (a W = 512
// testbench runs many times faster in Icarus), and a linter sees no vector
// feeding itself through separate assignments. An XOR of three or more
// present stages is written as the reduction of the state under a mask: the
// same one level of logic, one vector operation.
std::string node_wires(const XorNet& net, const NetNames& names) {
    if (net.nodes.empty()) return {};
    std::string v;
    for (std::size_t k = 0; k < net.nodes.size(); ++k) v += "    reg  " + names(net, net.inputs + static_cast<int>(k)) + ";\n";
    v += "    always @(" + std::string(names.input) + ") begin\n";
    for (std::size_t k = 0; k < net.nodes.size(); ++k) {
        const std::vector<int>& node = net.nodes[k];
        v += "        " + names(net, net.inputs + static_cast<int>(k)) + " = ";
        const bool stages_only = std::all_of(node.begin(), node.end(), [&](int s) { return s < net.inputs; });
        if (stages_only && node.size() >= 3) {
            std::vector<std::uint8_t> mask(static_cast<std::size_t>(net.inputs), 0);
            for (int s : node) mask[static_cast<std::size_t>(s)] = 1;
            v += "^(" + std::string(names.input) + " & " + literal(net.inputs, hex_of_bits(mask)) + ");\n";
            continue;
        }
        for (std::size_t i = 0; i < node.size(); ++i) v += (i ? " ^ " : "") + names(net, node[i]);
        v += ";\n";
    }
    return v + "    end\n";
}

// One continuous assignment of a whole vector, bit i from bits[i]: a
// simulator then drives it once a change, where an assignment a bit would
// re-resolve the whole vector for each of its bits.
std::string vector_assign(const std::string& target, const std::vector<std::string>& bits) {
    std::string v = "    assign " + target + " = {";
    for (std::size_t i = bits.size(); i-- > 0;) {
        v += (i + 1 == bits.size() ? "" : ",") + std::string((bits.size() - 1 - i) % 8 == 0 ? "\n        " : " ") + bits[i];
    }
    return v + "};\n";
}

// The signals of a net, in order, or each at the port bit of its time.
std::vector<std::string> signals(const XorNet& net, const NetNames& names, const std::vector<int>& which,
                                 const HdlRequest* ports = nullptr, bool inverted = false) {
    std::vector<std::string> bits(which.size());
    for (std::size_t i = 0; i < which.size(); ++i) {
        const std::size_t at = ports ? static_cast<std::size_t>(port_bit(*ports, static_cast<int>(i))) : i;
        bits[at] = (inverted ? "~" : "") + names(net, which[i]);
    }
    return bits;
}

std::string generator(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    const NetNames names{"state", "x"};
    std::string v = comment_lines(d, "//");
    v += "module " + r.name + " (\n";
    v += "    input  wire clk,\n    input  wire rst,\n    input  wire en,\n    input  wire load,\n";
    v += "    input  wire " + range(d.state_bits) + " seed_in,\n";
    v += "    output wire " + range(r.width) + " data_out\n);\n";
    v += "    localparam " + range(d.state_bits) + " SEED = " + literal(d.state_bits, hex_of_bits(seed_bits(d))) + ";\n";
    v += "    reg  " + range(d.state_bits) + " state;\n";
    v += "    wire " + range(d.state_bits) + " state_next;\n";
    v += node_wires(d.net, names);
    v += vector_assign("state_next", signals(d.net, names, d.net.next));
    v += vector_assign("data_out", signals(d.net, names, d.net.output, &r, r.inverted));
    v += "    always @(posedge clk) begin\n";
    v += "        if (rst) state <= SEED;\n        else if (load) state <= seed_in;\n";
    v += "        else if (en) state <= state_next;\n    end\nendmodule\n";
    return v;
}

std::string checker(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    const int n = r.registers.front().polynomial.degree();
    const int w = r.width;
    const int cb = count_bits(w);
    const NetNames pred{"pred", "x"}, hist{"hist_next", "y"};
    std::string v = comment_lines(d, "//");
    v += "module " + r.name + "_checker (\n";
    v += "    input  wire clk,\n    input  wire rst,\n    input  wire en,\n";
    v += "    input  wire " + range(w) + " data_in,\n";
    v += "    output reg  locked,\n    output reg  [31:0] errors\n);\n";
    v += "    localparam [7:0] FILL = 8'd" + num(d.fill_words) + ";\n";
    v += "    localparam [7:0] MATCH = 8'd" + num(d.match_words) + ";\n";
    // The n bits last received: the word's own, and below them (a word
    // shorter than the register) the n - W kept from the words before.
    const bool keeps_history = w < n;
    if (keeps_history) v += "    reg  " + range(n - w) + " hist;\n";
    v += "    reg  " + range(n) + " pred;\n    reg  [7:0] fill;\n    reg  [7:0] good;\n";
    v += "    wire " + range(n) + " hist_next;\n    wire " + range(n) + " reload;\n";
    v += "    wire " + range(n) + " advance;\n    wire " + range(w) + " expected;\n";
    std::vector<std::string> received;
    for (int i = 0; i < n; ++i) {
        received.push_back(i < n - w ? "hist[" + num(i) + "]"
                                     : std::string(r.inverted ? "~" : "") + "data_in[" + num(port_bit(r, w - n + i)) + "]");
    }
    v += vector_assign("hist_next", received);
    v += node_wires(d.reload, hist);
    v += vector_assign("reload", signals(d.reload, hist, d.reload.next));
    v += node_wires(d.advance, pred);
    v += vector_assign("advance", signals(d.advance, pred, d.advance.next));
    v += vector_assign("expected", signals(d.advance, pred, d.advance.output, &r, r.inverted));
    v += "    wire " + range(w) + " diff = expected ^ data_in;\n";
    v += "    reg  " + range(cb) + " diff_ones;\n    integer i;\n";
    v += "    always @* begin\n        diff_ones = " + num(cb) + "'d0;\n";
    v += "        for (i = 0; i < " + num(w) + "; i = i + 1) diff_ones = diff_ones + {" + num(cb - 1) + "'d0, diff[i]};\n";
    v += "    end\n";
    v += "    wire [32:0] errors_sum = {1'b0, errors} + {" + num(33 - cb) + "'d0, diff_ones};\n";
    v += "    always @(posedge clk) begin\n        if (rst) begin\n";
    if (keeps_history) v += "            hist <= " + num(n - w) + "'d0;\n";
    v += "            pred <= " + num(n) + "'d0;\n            fill <= 8'd0;\n            good <= 8'd0;\n";
    v += "            locked <= 1'b0;\n            errors <= 32'd0;\n        end else if (en) begin\n";
    if (keeps_history) v += "            hist <= hist_next[" + num(n - 1) + ":" + num(w) + "];\n";
    v += "            if (locked) begin\n                pred <= advance;\n";
    v += "                errors <= errors_sum[32] ? 32'hffffffff : errors_sum[31:0];\n";
    v += "            end else begin\n                pred <= reload;\n";
    v += "                if (fill != FILL) begin\n                    fill <= fill + 8'd1;\n                    good <= 8'd0;\n";
    v += "                end else if (diff == " + num(w) + "'d0) begin\n";
    v += "                    if (good + 8'd1 == MATCH) locked <= 1'b1;\n                    good <= good + 8'd1;\n";
    v += "                end else begin\n                    good <= 8'd0;\n                end\n            end\n";
    v += "        end\n    end\nendmodule\n";
    return v;
}

std::string words_lines(const HdlDesign& d) {
    std::string v;
    const std::vector<std::string> words = testbench_words(d);
    for (std::size_t k = 0; k < words.size(); ++k) {
        v += "        words[" + num(static_cast<long long>(k)) + "] = " + literal(d.request.width, words[k]) + ";\n";
    }
    return v;
}

std::string testbench_head(const HdlDesign& d, const std::string& module) {
    std::string v = comment_lines(d, "//");
    v += "// The first " + num(static_cast<long long>(d.request.words)) +
         " words of the library's own generator; prints PASS, or the first mismatch and FAIL.\n";
    v += "`timescale 1ns / 1ps\nmodule " + module + "_tb;\n";
    return v;
}

std::string generator_testbench(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    const std::string count = num(static_cast<long long>(r.words));
    std::string v = testbench_head(d, r.name);
    v += "    reg clk = 1'b0;\n    reg rst = 1'b1;\n    reg en = 1'b0;\n    reg load = 1'b0;\n";
    v += "    reg " + range(d.state_bits) + " seed_in = " + num(d.state_bits) + "'d0;\n";
    v += "    wire " + range(r.width) + " data_out;\n";
    v += "    reg " + range(r.width) + " words [0:" + num(static_cast<long long>(r.words) - 1) + "];\n";
    v += "    integer i;\n";
    v += "    " + r.name + " dut (.clk(clk), .rst(rst), .en(en), .load(load), .seed_in(seed_in), .data_out(data_out));\n";
    v += "    always #5 clk = ~clk;\n";
    v += "    task check_word(input integer k);\n        begin\n";
    v += "            if (data_out !== words[k]) begin\n";
    v += "                $display(\"mismatch at word %0d: expected %h, got %h\", k, words[k], data_out);\n";
    v += "                $display(\"FAIL\");\n                $finish;\n            end\n        end\n    endtask\n";
    v += "    initial begin\n" + words_lines(d);
    v += "        @(posedge clk); #1;\n        rst = 1'b0;\n        en = 1'b1;\n";
    v += "        for (i = 0; i < " + count + "; i = i + 1) begin\n            check_word(i);\n";
    // A clock without en in the middle must hold the word.
    v += "            if (i == " + num(static_cast<long long>(r.words / 2)) + ") begin\n";
    v += "                en = 1'b0;\n                @(posedge clk); #1;\n                check_word(i);\n                en = 1'b1;\n            end\n";
    v += "            @(posedge clk); #1;\n        end\n";
    v += "        seed_in = " + literal(d.state_bits, hex_of_bits(seed_bits(d))) + ";\n";
    v += "        load = 1'b1;\n        @(posedge clk); #1;\n        load = 1'b0;\n        check_word(0);\n";
    v += "        $display(\"PASS\");\n        $finish;\n    end\nendmodule\n";
    return v;
}

std::string checker_testbench(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    const std::size_t lock = hdl_checker_lock_words(r);
    const std::vector<FlippedBit> flips = injected_errors(d);
    std::string v = testbench_head(d, r.name + "_checker");
    v += "// Bits flipped after the lock: " + num(static_cast<long long>(flips.size())) + "; locked must rise after word " +
         num(static_cast<long long>(lock - 1)) + ".\n";
    v += "    reg clk = 1'b0;\n    reg rst = 1'b1;\n    reg en = 1'b0;\n";
    v += "    reg " + range(r.width) + " data_in = " + num(r.width) + "'d0;\n";
    v += "    wire locked;\n    wire [31:0] errors;\n";
    v += "    reg " + range(r.width) + " words [0:" + num(static_cast<long long>(r.words) - 1) + "];\n";
    v += "    reg " + range(r.width) + " flips [0:" + num(static_cast<long long>(r.words) - 1) + "];\n";
    v += "    integer i;\n";
    v += "    " + r.name + "_checker dut (.clk(clk), .rst(rst), .en(en), .data_in(data_in), .locked(locked), .errors(errors));\n";
    v += "    always #5 clk = ~clk;\n";
    v += "    initial begin\n" + words_lines(d);
    v += "        for (i = 0; i < " + num(static_cast<long long>(r.words)) + "; i = i + 1) flips[i] = " + num(r.width) + "'d0;\n";
    for (const FlippedBit& f : flips) {
        const std::string k = num(static_cast<long long>(f.word));
        v += "        flips[" + k + "][" + num(f.bit) + "] = 1'b1;\n";
    }
    v += "        @(posedge clk); #1;\n        rst = 1'b0;\n        en = 1'b1;\n";
    v += "        for (i = 0; i < " + num(static_cast<long long>(r.words)) + "; i = i + 1) begin\n";
    v += "            data_in = words[i] ^ flips[i];\n            @(posedge clk); #1;\n";
    v += "            if (locked !== (i >= " + num(static_cast<long long>(lock - 1)) + ")) begin\n";
    v += "                $display(\"mismatch at word %0d: locked is %b\", i, locked);\n";
    v += "                $display(\"FAIL\");\n                $finish;\n            end\n        end\n";
    v += "        if (errors !== 32'd" + num(static_cast<long long>(flips.size())) + ") begin\n";
    v += "            $display(\"mismatch: %0d errors counted, " + num(static_cast<long long>(flips.size())) + " injected\", errors);\n";
    v += "            $display(\"FAIL\");\n            $finish;\n        end\n";
    v += "        $display(\"PASS\");\n        $finish;\n    end\nendmodule\n";
    return v;
}

}  // namespace

std::string verilog_text(const HdlDesign& d) {
    return unit_text({generator, checker, generator_testbench, checker_testbench}, d);
}

}  // namespace tapwell

// Ring: tests. The hardware's nets against register_bits, word after word,
// in both styles and forms and for a Gold code; their sizes against the
// register unrolled W times and, for trinomials, against W XORs at depth 1;
// and the requests hdl_text refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "library/hdl_net.h"
#include "tapwell/errors.hpp"
#include "tapwell/hdl.hpp"

namespace tapwell {
namespace {

Register reg(const char* poly, std::uint64_t state, RegisterForm form) { return {Polynomial::parse(poly), state, form}; }

// The net's outputs and next state from a state, by evaluating every node.
struct Evaluated {
    std::vector<std::uint8_t> output, next;
};
Evaluated evaluate(const XorNet& net, const std::vector<std::uint8_t>& state) {
    std::vector<std::uint8_t> value(state);
    for (const std::vector<int>& node : net.nodes) {
        std::uint8_t v = 0;
        for (int s : node) v ^= value[static_cast<std::size_t>(s)];
        value.push_back(v);
    }
    Evaluated e;
    for (int s : net.output) e.output.push_back(value[static_cast<std::size_t>(s)]);
    for (int s : net.next) e.next.push_back(value[static_cast<std::size_t>(s)]);
    return e;
}

struct NetCase {
    std::vector<Register> registers;
    int width;
};

const std::vector<NetCase>& net_cases() {
    static const std::vector<NetCase> cases = {
        {{reg("1011", 1, RegisterForm::fibonacci)}, 1},
        {{reg("10011", 9, RegisterForm::galois)}, 7},
        {{reg("100000000000000000000000000001001", 0x1234567, RegisterForm::fibonacci)}, 64},
        {{reg("100000000000000000000000000001001", 0x7654321, RegisterForm::galois)}, 100},
        {{reg("11000000000000000000000000000000000000000000000000000000000011011", 5, RegisterForm::fibonacci)}, 33},
        {{reg("11000000000000000000000000000000000000000000000000000000000011011", 0xfedcba9876543210,
              RegisterForm::galois)}, 130},
        {{reg("1000010101", 77, RegisterForm::fibonacci), reg("1011111111", 300, RegisterForm::fibonacci)}, 8},
        {{reg("100101", 1, RegisterForm::galois), reg("111101", 21, RegisterForm::fibonacci)}, 31},
    };
    return cases;
}

TEST(HdlNet, EveryWordIsTheRegistersOutputInBothStyles) {
    for (HdlStyle style : {HdlStyle::flat, HdlStyle::chained}) {
        for (const NetCase& c : net_cases()) {
            const XorNet net = summed_net(c.registers, c.width, style);
            // A node nothing reads is a linter's warning and a wasted gate.
            std::vector<char> read(static_cast<std::size_t>(net.inputs) + net.nodes.size(), 0);
            for (const std::vector<int>& node : net.nodes) {
                for (int s : node) read[static_cast<std::size_t>(s)] = 1;
            }
            for (int s : net.output) read[static_cast<std::size_t>(s)] = 1;
            for (int s : net.next) read[static_cast<std::size_t>(s)] = 1;
            ASSERT_EQ(std::count(read.begin() + net.inputs, read.end(), 0), 0) << "unread nodes";
            const std::size_t words = 40, w = static_cast<std::size_t>(c.width);
            std::vector<std::uint8_t> expected(words * w, 0), state;
            for (const Register& r : c.registers) {
                const std::vector<std::uint8_t> bits = register_bits(r, expected.size());
                for (std::size_t i = 0; i < bits.size(); ++i) expected[i] ^= bits[i];
                for (int i = 0; i < r.polynomial.degree(); ++i) state.push_back(static_cast<std::uint8_t>(r.state >> i & 1u));
            }
            for (std::size_t k = 0; k < words; ++k) {
                const Evaluated e = evaluate(net, state);
                const std::vector<std::uint8_t> want(expected.begin() + static_cast<long>(k * w),
                                                     expected.begin() + static_cast<long>((k + 1) * w));
                ASSERT_EQ(e.output, want) << c.registers[0].polynomial.format() << " W " << c.width << " word " << k
                                          << (style == HdlStyle::chained ? " chained" : " flat");
                state = e.next;
            }
        }
    }
}

TEST(HdlNet, FlatIsOneLevelAndChainedNeverExceedsTheUnrolledRegister) {
    for (const NetCase& c : net_cases()) {
        if (c.registers.size() != 1) continue;
        const Register& r = c.registers.front();
        // Unrolled: weight - 2 XORs a step, in either form.
        const std::uint64_t unrolled = static_cast<std::uint64_t>(c.width) * static_cast<std::uint64_t>(r.polynomial.weight() - 2);
        const XorNet flat = register_net(r, c.width, HdlStyle::flat);
        for (const std::vector<int>& node : flat.nodes) {
            for (int s : node) ASSERT_LT(s, flat.inputs) << "a flat node reads another node";
        }
        EXPECT_LE(net_size(register_net(r, c.width, HdlStyle::chained)).xors, unrolled) << r.polynomial.format();
    }
}

TEST(HdlNet, TrinomialsUpToNMinusKAreWXorsAtDepthOne) {
    // x^n + x^k + 1, the PRBS of the test patterns among them (PRBS7 is
    // x^7 + x + 1, PRBS31 x^31 + x^3 + 1 in the window's notation).
    const std::pair<int, int> trinomials[] = {{7, 1}, {9, 4}, {15, 1}, {23, 5}, {31, 3}, {31, 28}, {63, 1}, {64, 33}, {10, 7}};
    for (const auto& [n, k] : trinomials) {
        std::string text(static_cast<std::size_t>(n) + 1, '0');
        text.front() = text.back() = '1';
        text[static_cast<std::size_t>(n - k)] = '1';
        for (RegisterForm form : {RegisterForm::fibonacci, RegisterForm::galois}) {
            for (HdlStyle style : {HdlStyle::flat, HdlStyle::chained}) {
                for (int w = 1; w <= n - k; ++w) {
                    HdlRequest request;
                    request.registers = {{Polynomial::parse(text), 1, form}};
                    request.width = w;
                    request.style = style;
                    const HdlSize size = hdl_size(request);
                    ASSERT_EQ(size.xors, static_cast<std::uint64_t>(w)) << text << " W " << w;
                    ASSERT_EQ(size.depth, 1) << text << " W " << w;
                }
            }
        }
    }
}

HdlRequest request_with(void (*change)(HdlRequest&)) {
    HdlRequest r;
    r.registers = {reg("10011", 1, RegisterForm::fibonacci)};
    change(r);
    return r;
}

TEST(HdlText, RefusesInWordsWhatNoModuleCanBe) {
    struct Refusal {
        void (*change)(HdlRequest&);
        const char* words;
    };
    const Refusal refusals[] = {
        {[](HdlRequest& r) { r.width = 0; }, "outside 1 to 1024"},
        {[](HdlRequest& r) { r.width = 1025; }, "outside 1 to 1024"},
        {[](HdlRequest& r) { r.registers.clear(); }, "one register or two"},
        {[](HdlRequest& r) { r.registers.front().state = 0; }, "never leaves 0"},
        {[](HdlRequest& r) { r.registers.front().state = 16; }, "more than 4 bits"},
        {[](HdlRequest& r) { r.name = "module"; }, "reserved word in Verilog"},
        {[](HdlRequest& r) { r.name = "logic"; }, "reserved word in Verilog"},
        {[](HdlRequest& r) { r.name = "2fast"; }, "must begin with a letter"},
        {[](HdlRequest& r) { r.name = "a-b"; }, "only letters, digits"},
        {[](HdlRequest& r) { r.name = ""; }, "empty"},
        {[](HdlRequest& r) { r.name = "x12"; }, "uses inside"},
        {[](HdlRequest& r) { r.name = "State"; }, "uses inside"},
        {[](HdlRequest& r) { r.language = HdlLanguage::vhdl; r.name = "Entity"; }, "reserved word in VHDL"},
        {[](HdlRequest& r) { r.language = HdlLanguage::vhdl; r.name = "_lfsr"; }, "must begin with a letter"},
        {[](HdlRequest& r) { r.language = HdlLanguage::vhdl; r.name = "a__b"; }, "'_' may not end it"},
        {[](HdlRequest& r) { r.language = HdlLanguage::vhdl; r.name = "lfsr_"; }, "'_' may not end it"},
        {[](HdlRequest& r) { r.language = HdlLanguage::c; r.name = "int"; }, "reserved word in C"},
        {[](HdlRequest& r) { r.unit = HdlUnit::generator_testbench; }, "1 to 100000 words, not 0"},
        {[](HdlRequest& r) { r.unit = HdlUnit::generator_testbench; r.words = 100001; }, "not 100001"},
        {[](HdlRequest& r) { r.unit = HdlUnit::generator_testbench; r.words = 20000; r.width = 1024; }, "at most 16777216 bits"},
        {[](HdlRequest& r) { r.unit = HdlUnit::checker_testbench; r.words = 9; r.width = 1; }, "more than 9 words"},
        {[](HdlRequest& r) { r.unit = HdlUnit::checker; r.registers.push_back(r.registers.front()); }, "the same sequence"},
        {[](HdlRequest& r) { r.unit = HdlUnit::checker; r.language = HdlLanguage::c; }, "Verilog or VHDL only"},
    };
    for (const Refusal& refusal : refusals) {
        try {
            hdl_text(request_with(refusal.change));
            ADD_FAILURE() << "accepted: " << refusal.words;
        } catch (const InvalidArgument& e) {
            EXPECT_NE(std::string(e.what()).find(refusal.words), std::string::npos) << e.what();
        }
    }
}

TEST(HdlText, NamesTheModuleAndStatesItsConventions) {
    struct Named {
        HdlLanguage language;
        HdlUnit unit;
        const char* name;
        const char* expected;
    };
    const Named named[] = {
        {HdlLanguage::verilog, HdlUnit::generator, "_gen$", nullptr},  // '$' is refused in every language
        {HdlLanguage::verilog, HdlUnit::generator, "_gen", "module _gen ("},
        {HdlLanguage::verilog, HdlUnit::checker, "prbs", "module prbs_checker ("},
        {HdlLanguage::verilog, HdlUnit::generator_testbench, "prbs", "module prbs_tb;"},
        {HdlLanguage::vhdl, HdlUnit::generator, "Prbs7", "entity Prbs7 is"},
        {HdlLanguage::vhdl, HdlUnit::checker_testbench, "p", "entity p_checker_tb is"},
        {HdlLanguage::c, HdlUnit::generator, "prbs", "void prbs_step(prbs_state *s"},
    };
    for (const Named& n : named) {
        HdlRequest r = request_with([](HdlRequest& q) { q.width = 4; q.words = 50; });
        r.language = n.language;
        r.unit = n.unit;
        r.name = n.name;
        if (n.expected == nullptr) {
            EXPECT_THROW(hdl_text(r), InvalidArgument) << n.name;
            continue;
        }
        const std::string text = hdl_text(r);
        EXPECT_NE(text.find(n.expected), std::string::npos) << n.expected;
        EXPECT_NE(text.find("polynomial 10011 (x^4 + x + 1), fibonacci form, seed 0001"), std::string::npos);
    }
    HdlRequest msb = request_with([](HdlRequest& q) { q.width = 8; q.bit_order = HdlBitOrder::first_at_msb; });
    EXPECT_NE(hdl_text(msb).find("data_out[7] is the first bit in time"), std::string::npos);
}

}  // namespace
}  // namespace tapwell

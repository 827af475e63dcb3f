// Ring: library. The request checked and turned into nets, header lines and
// the testbench's words; the words come from register_bits, the library's
// own generator, never from the nets they check.
#include "library/hdl_design.h"

#include <algorithm>
#include <string>

#include "core/gf2_poly.h"
#include "core/presets.h"
#include "library/api_support.h"
#include "library/hdl_names.h"
#include "library/poly_conversion.h"
#include "library/register_check.h"
#include "tapwell/errors.hpp"
#include "tapwell/version.hpp"

namespace tapwell {

namespace {

const char* form_name(RegisterForm form) { return form == RegisterForm::galois ? "galois" : "fibonacci"; }

std::size_t ceil_div(std::size_t a, std::size_t b) { return (a + b - 1) / b; }

void check_request(const HdlRequest& r) {
    if (r.registers.empty() || r.registers.size() > 2) {
        throw InvalidArgument("a module holds one register or two (a Gold code), not " +
                              std::to_string(r.registers.size()));
    }
    for (const Register& reg : r.registers) check_register(reg);
    if (r.width < 1 || r.width > HDL_MAX_WIDTH) {
        throw InvalidArgument("the width " + std::to_string(r.width) + " is outside 1 to " +
                              std::to_string(HDL_MAX_WIDTH) + " bits a clock");
    }
    const bool checker = r.unit == HdlUnit::checker || r.unit == HdlUnit::checker_testbench;
    if (checker && r.language == HdlLanguage::c) throw InvalidArgument("the checker is written in Verilog or VHDL only");
    if (checker && r.registers.size() == 2 &&
        r.registers[0].polynomial.degree() + r.registers[1].polynomial.degree() > 64) {
        throw InvalidArgument("the checker of a Gold code follows the register of the product of its two "
                              "polynomials, of degree " +
                              std::to_string(r.registers[0].polynomial.degree() + r.registers[1].polynomial.degree()) +
                              ": more than 64");
    }
    refuse(hdl_name_refusal(r.name, r.language));
    const bool testbench = r.unit == HdlUnit::generator_testbench || r.unit == HdlUnit::checker_testbench;
    if (testbench && r.language != HdlLanguage::c) {
        if (r.words < 1 || r.words > HDL_MAX_TESTBENCH_WORDS) {
            throw InvalidArgument("a testbench holds 1 to " + std::to_string(HDL_MAX_TESTBENCH_WORDS) +
                                  " words, not " + std::to_string(r.words));
        }
        if (static_cast<std::uint64_t>(r.words) * static_cast<std::uint64_t>(r.width) > HDL_MAX_TESTBENCH_BITS) {
            throw InvalidArgument("a testbench holds at most " + std::to_string(HDL_MAX_TESTBENCH_BITS) +
                                  " bits; " + std::to_string(r.words) + " words of " + std::to_string(r.width) +
                                  " bits are more");
        }
    }
}

// The register whose output is the sum of a Gold code's two: the sum obeys
// the recurrence of the product of their polynomials, and a Fibonacci
// state is the next n bits put out.
Register sum_register(const std::vector<Register>& registers) {
    const PolyWord w = gf2::product(word_of(registers[0].polynomial), word_of(registers[1].polynomial));
    const Polynomial p = Polynomial::from_value(w.value);
    std::uint64_t state = 0;
    std::vector<std::uint8_t> sum(static_cast<std::size_t>(p.degree()), 0);
    for (const Register& reg : registers) {
        const std::vector<std::uint8_t> bits = register_bits(reg, sum.size());
        for (std::size_t i = 0; i < sum.size(); ++i) sum[i] ^= bits[i];
    }
    for (std::size_t i = 0; i < sum.size(); ++i) state |= static_cast<std::uint64_t>(sum[i]) << i;
    if (state == 0) throw InvalidArgument("the two registers put out the same sequence: their sum is 0");
    return {p, state, RegisterForm::fibonacci};
}

std::string style_text(HdlStyle style) {
    return style == HdlStyle::chained
               ? "chained: bits computed earlier in the clock are reused, fewest XORs"
               : "flat: every bit an XOR of stages of the present state, one level of logic";
}

}  // namespace

HdlDesign hdl_design(const HdlRequest& request) {
    check_request(request);
    HdlDesign d;
    d.request = request;
    const HdlRequest& r = d.request;
    const bool checker = r.unit == HdlUnit::checker || r.unit == HdlUnit::checker_testbench;
    // A Gold code's checker is the checker of the one register of its sum.
    if (checker && r.registers.size() == 2) d.request.registers = {sum_register(request.registers)};
    for (const Register& reg : r.registers) d.state_bits += reg.polynomial.degree();
    d.net = summed_net(r.registers, r.width, r.style);
    if (checker) {
        const Register& reg = r.registers.front();
        const std::size_t n = static_cast<std::size_t>(reg.polynomial.degree());
        d.advance = register_net({reg.polynomial, 1, RegisterForm::fibonacci}, r.width, r.style);
        d.reload = reload_net(reg);
        d.fill_words = static_cast<int>(ceil_div(n, static_cast<std::size_t>(r.width)));
        d.match_words = d.fill_words;
        if (r.unit == HdlUnit::checker_testbench && r.words <= hdl_checker_lock_words(r) + 1) {
            throw InvalidArgument("the checker counts errors from word " + std::to_string(hdl_checker_lock_words(r)) +
                                  " on; its testbench needs more than " + std::to_string(hdl_checker_lock_words(r) + 1) +
                                  " words");
        }
    }
    const HdlSize size = net_size(d.net);
    d.header.push_back(std::string(checker ? "A checker of " : "") + std::to_string(r.width) +
                       " bits a clock of " + (request.registers.size() == 2 ? "a Gold code, the sum of two shift registers" : "a shift register") +
                       " over GF(2); generated by tapwell " + std::string(version()) + ".");
    for (std::size_t i = 0; i < request.registers.size(); ++i) {
        const Register& reg = request.registers[i];
        d.header.push_back("register " + std::to_string(i) + ": polynomial " + reg.polynomial.format(Notation::binary) +
                           " (" + reg.polynomial.format(Notation::algebraic) + "), " + form_name(reg.form) +
                           " form, seed " + initial_value_text(reg.state, reg.polynomial.degree()) +
                           " (bit 0, the stage put out first, on the right)");
    }
    if (checker && request.registers.size() == 2) {
        d.header.push_back("the sum follows the register of the product of the two polynomials, " +
                           r.registers[0].polynomial.format(Notation::binary) + ", which the checker runs");
    }
    if (r.inverted) {
        d.header.push_back(std::string(checker ? "data_in is expected as " : "data_out is ") +
                           (request.registers.size() == 2 ? "the sum" : "the output") + " inverted, as the standard puts it out.");
    }
    d.header.push_back("width: " + std::to_string(r.width) + " bits a clock; style " + style_text(r.style));
    const bool c = r.language == HdlLanguage::c;
    const std::string port = checker ? "data_in" : c ? "out" : "data_out";
    d.header.push_back("bit order: " + port + "[" + std::to_string(port_bit(r, 0)) +
                       "] is the first bit in time, " + port + "[" + std::to_string(port_bit(r, r.width - 1)) +
                       "] the last");
    if (checker) {
        d.header.push_back("locked rises after " + std::to_string(hdl_checker_lock_words(r)) +
                           " words (the register loaded from the bits received, then " +
                           std::to_string(d.match_words) + " words predicted right); from then on errors counts");
        d.header.push_back("the bits that differ from the prediction, saturating at 2^32 - 1, until rst.");
    } else if (!c) {
        d.header.push_back("rst (synchronous, active high) returns to the seed; load takes seed_in; en steps " +
                           std::to_string(r.width) + " times.");
        std::string layout = "seed_in: register 0 in bits " + std::to_string(r.registers[0].polynomial.degree() - 1) + " to 0";
        if (r.registers.size() == 2) {
            layout += ", register 1 in bits " + std::to_string(d.state_bits - 1) + " to " +
                      std::to_string(r.registers[0].polynomial.degree());
        }
        d.header.push_back(layout + "; bit 0 of each is its stage put out first.");
    }
    if (!checker) {
        d.header.push_back("next-state and output logic as written: " + std::to_string(size.xors) +
                           " two-input XORs, depth " + std::to_string(size.depth) + ".");
    }
    return d;
}

std::vector<std::uint8_t> seed_bits(const HdlDesign& d) {
    std::vector<std::uint8_t> bits;
    for (const Register& reg : d.request.registers) {
        for (int i = 0; i < reg.polynomial.degree(); ++i) bits.push_back(static_cast<std::uint8_t>(reg.state >> i & 1u));
    }
    return bits;
}

std::string hex_of_bits(const std::vector<std::uint8_t>& bits) {
    static constexpr char DIGITS[] = "0123456789abcdef";
    const std::size_t digits = ceil_div(bits.size(), 4);
    std::string text(digits, '0');
    for (std::size_t d = 0; d < digits; ++d) {
        unsigned v = 0;
        for (std::size_t b = 0; b < 4; ++b) {
            const std::size_t i = d * 4 + b;
            if (i < bits.size() && bits[i]) v |= 1u << b;
        }
        text[digits - 1 - d] = DIGITS[v];
    }
    return text;
}

std::vector<std::string> testbench_words(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    const std::size_t w = static_cast<std::size_t>(r.width);
    std::vector<std::uint8_t> sum(r.words * w, r.inverted ? 1 : 0);
    for (const Register& reg : r.registers) {
        const std::vector<std::uint8_t> bits = register_bits(reg, sum.size());
        for (std::size_t i = 0; i < sum.size(); ++i) sum[i] ^= bits[i];
    }
    std::vector<std::string> words;
    std::vector<std::uint8_t> port(w);
    for (std::size_t k = 0; k < r.words; ++k) {
        for (std::size_t t = 0; t < w; ++t) port[static_cast<std::size_t>(port_bit(r, static_cast<int>(t)))] = sum[k * w + t];
        words.push_back(hex_of_bits(port));
    }
    return words;
}

std::vector<FlippedBit> injected_errors(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    // Bursts of 1 to 4 bits, spread over the word and the run, always after
    // the lock; distinct bits within a word.
    std::vector<FlippedBit> flips;
    const std::size_t first = hdl_checker_lock_words(r) + 1;
    for (std::size_t j = 0; j < 12; ++j) {
        const std::size_t word = first + j * 7 + j * j;
        if (word >= r.words) break;
        const int count = std::min(static_cast<int>(j % 4) + 1, r.width);
        for (int b = 0; b < count; ++b) {
            flips.push_back({word, static_cast<int>((j * 13 + static_cast<std::size_t>(b)) % static_cast<std::size_t>(r.width))});
        }
    }
    return flips;
}

std::size_t hdl_checker_lock_words(const HdlRequest& request) {
    if (request.registers.empty() || request.width < 1) return 0;
    // A Gold code's checker runs the register of the sum, of both degrees.
    std::size_t degree = 0;
    for (const Register& reg : request.registers) degree += static_cast<std::size_t>(reg.polynomial.degree());
    const std::size_t fill = ceil_div(degree, static_cast<std::size_t>(request.width));
    return 2 * fill;
}

}  // namespace tapwell

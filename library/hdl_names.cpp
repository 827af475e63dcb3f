// Ring: library. The identifier rules and reserved words of Verilog (with
// SystemVerilog's, since linters and many synthesizers read .v files as
// SystemVerilog), VHDL (which ignores case) and C, as tables.
#include "library/hdl_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>

namespace tapwell {

namespace {

constexpr std::string_view VERILOG_WORDS[] = {
    "accept_on", "alias", "always", "always_comb", "always_ff", "always_latch", "and", "assert", "assign",
    "assume", "automatic", "before", "begin", "bind", "bins", "binsof", "bit", "break", "buf", "bufif0",
    "bufif1", "byte", "case", "casex", "casez", "cell", "chandle", "checker", "class", "clocking", "cmos",
    "config", "const", "constraint", "context", "continue", "cover", "covergroup", "coverpoint", "cross",
    "deassign", "default", "defparam", "design", "disable", "dist", "do", "edge", "else", "end", "endcase",
    "endchecker", "endclass", "endclocking", "endconfig", "endfunction", "endgenerate", "endgroup",
    "endinterface", "endmodule", "endpackage", "endprimitive", "endprogram", "endproperty", "endsequence",
    "endspecify", "endtable", "endtask", "enum", "event", "eventually", "expect", "export", "extends",
    "extern", "final", "first_match", "for", "force", "foreach", "forever", "fork", "forkjoin", "function",
    "generate", "genvar", "global", "highz0", "highz1", "if", "iff", "ifnone", "ignore_bins", "illegal_bins",
    "implements", "implies", "import", "incdir", "include", "initial", "inout", "input", "inside", "instance",
    "int", "integer", "interconnect", "interface", "intersect", "join", "join_any", "join_none", "large",
    "let", "liblist", "library", "local", "localparam", "logic", "longint", "macromodule", "matches",
    "medium", "modport", "module", "nand", "negedge", "nettype", "new", "nexttime", "nmos", "nor",
    "noshowcancelled", "not", "notif0", "notif1", "null", "or", "output", "package", "packed", "parameter",
    "pmos", "posedge", "primitive", "priority", "program", "property", "protected", "pull0", "pull1",
    "pulldown", "pullup", "pulsestyle_ondetect", "pulsestyle_onevent", "pure", "rand", "randc", "randcase",
    "randsequence", "rcmos", "real", "realtime", "ref", "reg", "reject_on", "release", "repeat", "restrict",
    "return", "rnmos", "rpmos", "rtran", "rtranif0", "rtranif1", "s_always", "s_eventually", "s_nexttime",
    "s_until", "s_until_with", "scalared", "sequence", "shortint", "shortreal", "showcancelled", "signed",
    "small", "soft", "solve", "specify", "specparam", "static", "string", "strong", "strong0", "strong1",
    "struct", "super", "supply0", "supply1", "sync_accept_on", "sync_reject_on", "table", "tagged", "task",
    "this", "throughout", "time", "timeprecision", "timeunit", "tran", "tranif0", "tranif1", "tri", "tri0",
    "tri1", "triand", "trior", "trireg", "type", "typedef", "union", "unique", "unique0", "unsigned",
    "until", "until_with", "untyped", "use", "uwire", "var", "vectored", "virtual", "void", "wait",
    "wait_order", "wand", "weak", "weak0", "weak1", "while", "wildcard", "wire", "with", "within", "wor",
    "xnor", "xor",
};

constexpr std::string_view VHDL_WORDS[] = {
    "abs", "access", "after", "alias", "all", "and", "architecture", "array", "assert", "assume",
    "assume_guarantee", "attribute", "begin", "block", "body", "buffer", "bus", "case", "component",
    "configuration", "constant", "context", "cover", "default", "disconnect", "downto", "else", "elsif",
    "end", "entity", "exit", "fairness", "file", "for", "force", "function", "generate", "generic", "group",
    "guarded", "if", "impure", "in", "inertial", "inout", "is", "label", "library", "linkage", "literal",
    "loop", "map", "mod", "nand", "new", "next", "nor", "not", "null", "of", "on", "open", "or", "others",
    "out", "package", "parameter", "port", "postponed", "procedure", "process", "property", "protected",
    "pure", "range", "record", "register", "reject", "release", "rem", "report", "restrict",
    "restrict_guarantee", "return", "rol", "ror", "select", "sequence", "severity", "shared", "signal",
    "sla", "sll", "sra", "srl", "strong", "subtype", "then", "to", "transport", "type", "unaffected",
    "units", "until", "use", "variable", "vmode", "vprop", "vunit", "wait", "when", "while", "with", "xnor",
    "xor",
    // Not reserved, but the libraries every generated entity uses.
    "ieee", "std", "std_logic", "std_logic_vector", "unsigned", "signed", "rising_edge", "work",
};

constexpr std::string_view C_WORDS[] = {
    "auto", "break", "case", "char", "const", "continue", "default", "do", "double", "else", "enum",
    "extern", "float", "for", "goto", "if", "inline", "int", "long", "register", "restrict", "return",
    "short", "signed", "sizeof", "static", "struct", "switch", "typedef", "union", "unsigned", "void",
    "volatile", "while", "_Bool", "_Complex", "_Imaginary", "main",
};

// The names the generated modules, testbenches and C use inside.
constexpr std::string_view INNER_NAMES[] = {
    "clk", "rst", "en", "load", "seed_in", "data_out", "data_in", "locked", "errors", "state",
    "state_next", "x", "y", "seed", "hist", "hist_next", "pred", "expected", "advance", "reload", "diff",
    "diff_ones", "fill", "good", "errors_sum", "words", "flips", "i", "dut", "rtl", "sim", "l", "want",
    "fill_words", "match_words", "errors_count", "ones", "sum", "words_t", "check_word", "flip", "output",
};

bool is_word_of(std::string_view name, std::span<const std::string_view> words, bool ignore_case) {
    return std::any_of(words.begin(), words.end(), [&](std::string_view w) {
        if (w.size() != name.size()) return false;
        for (std::size_t i = 0; i < w.size(); ++i) {
            const char a = ignore_case ? static_cast<char>(std::tolower(static_cast<unsigned char>(name[i]))) : name[i];
            if (a != w[i]) return false;
        }
        return true;
    });
}

const char* language_name(HdlLanguage language) {
    switch (language) {
        case HdlLanguage::vhdl: return "VHDL";
        case HdlLanguage::c: return "C";
        default: return "Verilog";
    }
}

}  // namespace

std::string hdl_name_refusal(std::string_view name, HdlLanguage language) {
    const std::string quoted = "the name '" + std::string(name) + "'";
    const std::string in = std::string(" in ") + language_name(language);
    if (name.empty()) return "a module needs a name: the name is empty";
    if (name.size() > 64) return quoted + " is longer than 64 characters";
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    const bool vhdl = language == HdlLanguage::vhdl;
    if (!(letter(name[0]) || (!vhdl && name[0] == '_'))) {
        return quoted + " is no identifier" + in + ": it must begin with a letter" + (vhdl ? "" : " or '_'");
    }
    for (char c : name) {
        if (!letter(c) && !digit(c) && c != '_') {
            return quoted + " is no identifier" + in + ": it may hold only letters, digits and '_'";
        }
    }
    if (vhdl && (name.back() == '_' || name.find("__") != std::string_view::npos)) {
        return quoted + " is no identifier in VHDL: '_' may not end it nor follow another";
    }
    const std::span<const std::string_view> words = vhdl ? std::span<const std::string_view>(VHDL_WORDS)
                                                         : language == HdlLanguage::c ? std::span<const std::string_view>(C_WORDS)
                                                                                      : std::span<const std::string_view>(VERILOG_WORDS);
    if (is_word_of(name, words, vhdl)) return quoted + " is a reserved word" + in;
    // VHDL and the C prefix make the inner names clash whatever their case.
    const bool node_name = (name[0] == 'x' || name[0] == 'y' || name[0] == 'X' || name[0] == 'Y') && name.size() > 1 &&
                           std::all_of(name.begin() + 1, name.end(), digit);
    if (node_name || is_word_of(name, INNER_NAMES, true)) return quoted + " is a name the generated code uses inside";
    return {};
}

}  // namespace tapwell

// Ring: library. The VHDL-2008 writer: the generator, the checker and their
// testbenches, entity for entity what the Verilog writer gives, so that one
// testbench's words prove both.
#include <string>

#include "library/hdl_writer.h"

namespace tapwell {

namespace {

std::string num(long long v) { return std::to_string(v); }
std::string vector_of(int bits) { return "std_logic_vector(" + num(bits - 1) + " downto 0)"; }
std::string literal(int bits, const std::string& hex) { return num(bits) + "x\"" + hex + "\""; }

const NetNames STATE{"state", "x", '(', ')'};

std::string node_declarations(const XorNet& net, const std::string& prefix) {
    std::string v;
    for (std::size_t k = 0; k < net.nodes.size(); ++k) v += "  signal " + prefix + num(static_cast<long long>(k)) + " : std_logic;\n";
    return v;
}

std::string inverted(const HdlRequest& r, const std::string& bit) { return r.inverted ? "not " + bit : bit; }

std::string generator(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    std::string v = comment_lines(d, "--");
    v += "library ieee;\nuse ieee.std_logic_1164.all;\n\n";
    v += "entity " + r.name + " is\n  port (\n";
    v += "    clk      : in  std_logic;\n    rst      : in  std_logic;\n    en       : in  std_logic;\n";
    v += "    load     : in  std_logic;\n    seed_in  : in  " + vector_of(d.state_bits) + ";\n";
    v += "    data_out : out " + vector_of(r.width) + "\n  );\nend entity " + r.name + ";\n\n";
    v += "architecture rtl of " + r.name + " is\n";
    v += "  constant SEED : " + vector_of(d.state_bits) + " := " + literal(d.state_bits, hex_of_bits(seed_bits(d))) + ";\n";
    v += "  signal state : " + vector_of(d.state_bits) + ";\n";
    v += "  signal state_next : " + vector_of(d.state_bits) + ";\n";
    v += node_declarations(d.net, "x");
    v += "begin\n";
    v += node_lines(d.net, STATE, "  ", " <= ", " xor ", ";");
    for (int i = 0; i < d.state_bits; ++i) {
        v += "  state_next(" + num(i) + ") <= " + STATE(d.net, d.net.next[static_cast<std::size_t>(i)]) + ";\n";
    }
    for (int t = 0; t < r.width; ++t) {
        v += "  data_out(" + num(port_bit(r, t)) + ") <= " + inverted(r, STATE(d.net, d.net.output[static_cast<std::size_t>(t)])) + ";\n";
    }
    v += "  process (clk)\n  begin\n    if rising_edge(clk) then\n";
    v += "      if rst = '1' then\n        state <= SEED;\n      elsif load = '1' then\n        state <= seed_in;\n";
    v += "      elsif en = '1' then\n        state <= state_next;\n      end if;\n    end if;\n  end process;\n";
    v += "end architecture rtl;\n";
    return v;
}

std::string checker(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    const int n = r.registers.front().polynomial.degree();
    const int w = r.width;
    const NetNames pred{"pred", "x", '(', ')'}, hist{"hist_next", "y", '(', ')'};
    const std::string entity = r.name + "_checker";
    std::string v = comment_lines(d, "--");
    v += "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n\n";
    v += "entity " + entity + " is\n  port (\n";
    v += "    clk     : in  std_logic;\n    rst     : in  std_logic;\n    en      : in  std_logic;\n";
    v += "    data_in : in  " + vector_of(w) + ";\n";
    v += "    locked  : out std_logic;\n    errors  : out std_logic_vector(31 downto 0)\n  );\n";
    v += "end entity " + entity + ";\n\n";
    v += "architecture rtl of " + entity + " is\n";
    v += "  constant FILL_WORDS : natural := " + num(d.fill_words) + ";\n";
    v += "  constant MATCH_WORDS : natural := " + num(d.match_words) + ";\n";
    const bool keeps_history = w < n;
    if (keeps_history) v += "  signal hist : " + vector_of(n - w) + ";\n";
    v += "  signal pred, hist_next, reload, advance : " + vector_of(n) + ";\n";
    v += "  signal expected, diff : " + vector_of(w) + ";\n";
    v += "  signal fill : natural range 0 to FILL_WORDS;\n  signal good : natural range 0 to MATCH_WORDS;\n";
    v += "  signal errors_count : unsigned(31 downto 0);\n";
    v += node_declarations(d.advance, "x") + node_declarations(d.reload, "y");
    v += "begin\n";
    for (int i = 0; i < n; ++i) {
        const std::string source = i < n - w ? "hist(" + num(i) + ")" : inverted(r, "data_in(" + num(port_bit(r, w - n + i)) + ")");
        v += "  hist_next(" + num(i) + ") <= " + source + ";\n";
    }
    v += node_lines(d.reload, hist, "  ", " <= ", " xor ", ";");
    for (int i = 0; i < n; ++i) v += "  reload(" + num(i) + ") <= " + hist(d.reload, d.reload.next[static_cast<std::size_t>(i)]) + ";\n";
    v += node_lines(d.advance, pred, "  ", " <= ", " xor ", ";");
    for (int i = 0; i < n; ++i) v += "  advance(" + num(i) + ") <= " + pred(d.advance, d.advance.next[static_cast<std::size_t>(i)]) + ";\n";
    for (int t = 0; t < w; ++t) {
        v += "  expected(" + num(port_bit(r, t)) + ") <= " + inverted(r, pred(d.advance, d.advance.output[static_cast<std::size_t>(t)])) + ";\n";
    }
    v += "  diff <= expected xor data_in;\n  errors <= std_logic_vector(errors_count);\n";
    v += "  process (clk)\n    variable ones : natural range 0 to " + num(w) + ";\n";
    v += "    variable sum : unsigned(32 downto 0);\n  begin\n    if rising_edge(clk) then\n";
    v += "      if rst = '1' then\n";
    if (keeps_history) v += "        hist <= (others => '0');\n";
    v += "        pred <= (others => '0');\n        fill <= 0;\n        good <= 0;\n        locked <= '0';\n";
    v += "        errors_count <= (others => '0');\n      elsif en = '1' then\n";
    if (keeps_history) v += "        hist <= hist_next(" + num(n - 1) + " downto " + num(w) + ");\n";
    v += "        if locked = '1' then\n          pred <= advance;\n          ones := 0;\n";
    v += "          for i in diff'range loop\n            if diff(i) = '1' then\n              ones := ones + 1;\n";
    v += "            end if;\n          end loop;\n";
    v += "          sum := resize(errors_count, 33) + to_unsigned(ones, 33);\n";
    v += "          if sum(32) = '1' then\n            errors_count <= (others => '1');\n";
    v += "          else\n            errors_count <= sum(31 downto 0);\n          end if;\n";
    v += "        else\n          pred <= reload;\n          if fill /= FILL_WORDS then\n";
    v += "            fill <= fill + 1;\n            good <= 0;\n          elsif (or diff) = '0' then\n";
    v += "            if good + 1 = MATCH_WORDS then\n              locked <= '1';\n            end if;\n";
    v += "            good <= good + 1;\n          else\n            good <= 0;\n          end if;\n        end if;\n";
    v += "      end if;\n    end if;\n  end process;\nend architecture rtl;\n";
    return v;
}

std::string words_constant(const HdlDesign& d) {
    const std::vector<std::string> words = testbench_words(d);
    std::string v = "  type words_t is array (natural range <>) of " + vector_of(d.request.width) + ";\n";
    v += "  constant words : words_t(0 to " + num(static_cast<long long>(words.size()) - 1) + ") := (\n";
    for (std::size_t k = 0; k < words.size(); ++k) {
        // A one-element aggregate must name its element.
        v += std::string("    ") + (words.size() == 1 ? "0 => " : "") + literal(d.request.width, words[k]) +
             (k + 1 < words.size() ? ",\n" : ");\n");
    }
    return v;
}

std::string testbench_head(const HdlDesign& d, const std::string& entity) {
    std::string v = comment_lines(d, "--");
    v += "-- The first " + num(static_cast<long long>(d.request.words)) +
         " words of the library's own generator; prints PASS, or the first mismatch and FAIL.\n";
    v += "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\nuse std.textio.all;\n\n";
    v += "entity " + entity + "_tb is\nend entity " + entity + "_tb;\n\n";
    v += "architecture sim of " + entity + "_tb is\n" + words_constant(d);
    return v;
}

// The message in l, then FAIL, and the end of the run.
std::string fail_lines(const std::string& indent) {
    return indent + "writeline(output, l);\n" + indent + "write(l, string'(\"FAIL\"));\n" + indent +
           "writeline(output, l);\n" + indent + "std.env.finish;\n";
}

const char* CLOCK_EDGE = "wait until rising_edge(clk);\n";

std::string generator_testbench(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    std::string v = testbench_head(d, r.name);
    v += "  signal clk : std_logic := '0';\n  signal rst : std_logic := '1';\n";
    v += "  signal en : std_logic := '0';\n  signal load : std_logic := '0';\n";
    v += "  signal seed_in : " + vector_of(d.state_bits) + " := (others => '0');\n";
    v += "  signal data_out : " + vector_of(r.width) + ";\nbegin\n";
    v += "  dut : entity work." + r.name +
         " port map (clk => clk, rst => rst, en => en, load => load, seed_in => seed_in, data_out => data_out);\n";
    v += "  clk <= not clk after 5 ns;\n  process\n    variable l : line;\n";
    v += "    procedure check_word(k : natural) is\n    begin\n      if data_out /= words(k) then\n";
    v += "        write(l, string'(\"mismatch at word \") & integer'image(k) & string'(\": expected \") &\n";
    v += "                 to_hstring(words(k)) & string'(\", got \") & to_hstring(data_out));\n";
    v += fail_lines("        ");
    v += "      end if;\n    end procedure;\n  begin\n";
    v += std::string("    ") + CLOCK_EDGE + "    wait for 1 ns;\n    rst <= '0';\n    en <= '1';\n";
    v += "    for i in 0 to " + num(static_cast<long long>(r.words) - 1) + " loop\n      wait for 0 ns;\n      check_word(i);\n";
    v += "      if i = " + num(static_cast<long long>(r.words / 2)) + " then\n        en <= '0';\n";
    v += std::string("        ") + CLOCK_EDGE + "        wait for 1 ns;\n        check_word(i);\n        en <= '1';\n      end if;\n";
    v += std::string("      ") + CLOCK_EDGE + "      wait for 1 ns;\n    end loop;\n";
    v += "    seed_in <= " + literal(d.state_bits, hex_of_bits(seed_bits(d))) + ";\n    load <= '1';\n";
    v += std::string("    ") + CLOCK_EDGE + "    wait for 1 ns;\n    load <= '0';\n    wait for 0 ns;\n    check_word(0);\n";
    v += "    write(l, string'(\"PASS\"));\n    writeline(output, l);\n    std.env.finish;\n  end process;\n";
    v += "end architecture sim;\n";
    return v;
}

std::string checker_testbench(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    const std::size_t lock = hdl_checker_lock_words(r);
    const std::vector<FlippedBit> flips = injected_errors(d);
    std::string v = testbench_head(d, r.name + "_checker");
    // The flipped bits a word at a time, as a function of the word's index.
    v += "  function flip(k : natural) return std_logic_vector is\n";
    v += "    variable f : " + vector_of(r.width) + " := (others => '0');\n  begin\n    case k is\n";
    for (std::size_t i = 0; i < flips.size();) {
        const std::size_t word = flips[i].word;
        v += "      when " + num(static_cast<long long>(word)) + " =>\n";
        for (; i < flips.size() && flips[i].word == word; ++i) v += "        f(" + num(flips[i].bit) + ") := '1';\n";
    }
    v += "      when others =>\n        null;\n    end case;\n    return f;\n  end function;\n";
    v += "  signal clk : std_logic := '0';\n  signal rst : std_logic := '1';\n  signal en : std_logic := '0';\n";
    v += "  signal data_in : " + vector_of(r.width) + " := (others => '0');\n";
    v += "  signal locked : std_logic;\n  signal errors : std_logic_vector(31 downto 0);\nbegin\n";
    v += "  dut : entity work." + r.name +
         "_checker port map (clk => clk, rst => rst, en => en, data_in => data_in, locked => locked, errors => errors);\n";
    v += "  clk <= not clk after 5 ns;\n  process\n    variable l : line;\n    variable want : std_logic;\n  begin\n";
    v += std::string("    ") + CLOCK_EDGE + "    wait for 1 ns;\n    rst <= '0';\n    en <= '1';\n";
    v += "    for i in 0 to " + num(static_cast<long long>(r.words) - 1) + " loop\n";
    v += "      data_in <= words(i) xor flip(i);\n      " + std::string(CLOCK_EDGE) + "      wait for 1 ns;\n";
    v += "      want := '1' when i >= " + num(static_cast<long long>(lock - 1)) + " else '0';\n";
    v += "      if locked /= want then\n";
    v += "        write(l, string'(\"mismatch at word \") & integer'image(i) & string'(\": locked is \") & std_logic'image(locked));\n";
    v += fail_lines("        ") + "      end if;\n    end loop;\n";
    v += "    if errors /= std_logic_vector(to_unsigned(" + num(static_cast<long long>(flips.size())) + ", 32)) then\n";
    v += "      write(l, string'(\"mismatch: \") & to_hstring(errors) & string'(\" (hex) errors counted, " +
         num(static_cast<long long>(flips.size())) + " injected\"));\n";
    v += fail_lines("      ");
    v += "    end if;\n    write(l, string'(\"PASS\"));\n    writeline(output, l);\n    std.env.finish;\n  end process;\n";
    v += "end architecture sim;\n";
    return v;
}

}  // namespace

std::string vhdl_text(const HdlDesign& d) {
    return unit_text({generator, checker, generator_testbench, checker_testbench}, d);
}

}  // namespace tapwell

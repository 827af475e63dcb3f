// Ring: tests. The C99 generator as its users get it: written to a file,
// compiled with the system's C compiler (-std=c99 -pedantic, warnings as
// errors), run, and its words compared with register_bits, bit order,
// inversion, a Gold code and a load of the seed included.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "tapwell/hdl.hpp"

namespace tapwell {
namespace {

struct CCase {
    std::vector<Register> registers;
    int width;
    HdlBitOrder order;
    bool inverted;
};

std::string driver(const HdlRequest& r, int words) {
    const std::string p = r.name, w = std::to_string(r.width);
    std::string seeds;
    for (const Register& reg : r.registers) seeds += (seeds.empty() ? "" : ", ") + std::to_string(reg.state) + "u";
    return "#include <stdio.h>\n#include \"generated.c\"\n"
           "static void print(const unsigned char *out) {\n    int q;\n"
           "    for (q = 0; q < " + w + "; ++q) putchar('0' + ((out[q / 8] >> (q % 8)) & 1));\n    putchar('\\n');\n}\n"
           "int main(void) {\n    " + p + "_state s;\n    unsigned char out[" + std::to_string((r.width + 7) / 8) + "];\n"
           "    const uint64_t seed[] = {" + seeds + "};\n    int k;\n    " + p + "_init(&s);\n"
           "    for (k = 0; k < " + std::to_string(words) + "; ++k) {\n        " + p + "_step(&s, out);\n        print(out);\n    }\n"
           "    " + p + "_load(&s, seed);\n    " + p + "_step(&s, out);\n    print(out);\n    return 0;\n}\n";
}

std::string run(const std::filesystem::path& dir, const HdlRequest& r, int words) {
    std::ofstream(dir / "generated.c") << hdl_text(r);
    std::ofstream(dir / "driver.c") << driver(r, words);
    const std::string build = "cc -std=c99 -pedantic -Wall -Wextra -Werror -o '" + (dir / "driver").string() + "' '" +
                              (dir / "driver.c").string() + "' 2>&1";
    EXPECT_EQ(std::system(build.c_str()), 0) << build;
    const std::string command = "'" + (dir / "driver").string() + "' > '" + (dir / "words.txt").string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::stringstream text;
    text << std::ifstream(dir / "words.txt").rdbuf();
    return text.str();
}

TEST(HdlC, CompiledWordsAreTheRegistersOutput) {
    const Polynomial prbs31 = Polynomial::parse("10000000000000000000000000001001");
    const Polynomial deg64 = Polynomial::parse("x^64 + x^4 + x^3 + x + 1", Notation::algebraic);
    const CCase cases[] = {
        {{{Polynomial::parse("10011"), 1, RegisterForm::fibonacci}}, 1, HdlBitOrder::first_at_lsb, false},
        {{{prbs31, 0x7fffffff, RegisterForm::fibonacci}}, 64, HdlBitOrder::first_at_lsb, true},
        {{{prbs31, 12345, RegisterForm::galois}}, 100, HdlBitOrder::first_at_msb, false},
        {{{deg64, 0x8000000000000001u, RegisterForm::galois}}, 7, HdlBitOrder::first_at_lsb, false},
        {{{deg64, 0xdeadbeefcafef00du, RegisterForm::fibonacci}}, 512, HdlBitOrder::first_at_msb, false},
        {{{Polynomial::parse("10000001001"), 0x3ff, RegisterForm::fibonacci},
          {Polynomial::parse("11101001101"), 0x2a5, RegisterForm::galois}},
         32, HdlBitOrder::first_at_lsb, false},
    };
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tapwell_hdl_c_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (const CCase& c : cases) {
        HdlRequest r;
        r.registers = c.registers;
        r.language = HdlLanguage::c;
        r.width = c.width;
        r.bit_order = c.order;
        r.inverted = c.inverted;
        r.name = "gen";
        const int words = 30;
        const std::size_t w = static_cast<std::size_t>(c.width);
        std::vector<std::uint8_t> sum(words * w, c.inverted ? 1 : 0);
        for (const Register& reg : c.registers) {
            const std::vector<std::uint8_t> bits = register_bits(reg, sum.size());
            for (std::size_t i = 0; i < sum.size(); ++i) sum[i] ^= bits[i];
        }
        std::string expected;
        for (int k = 0; k <= words; ++k) {
            // The last word is the first again, after a load of the seeds.
            const std::size_t from = (k == words ? 0 : static_cast<std::size_t>(k)) * w;
            std::string line(w, '0');
            for (std::size_t t = 0; t < w; ++t) {
                const std::size_t q = c.order == HdlBitOrder::first_at_msb ? w - 1 - t : t;
                line[q] = static_cast<char>('0' + sum[from + t]);
            }
            expected += line + "\n";
        }
        EXPECT_EQ(run(dir, r, words), expected) << c.registers[0].polynomial.format() << " W " << c.width;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tapwell

// Ring: tests. How every reader that refuses a character names it, at the
// edges of the printable bytes: DEL (0x7f) is a control byte like 0x1f and is
// named by its value, as are the bytes from 0x80 on; '~' just below it is
// quoted. A DEL printed between quotes would reach a terminal as nothing.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/bit_text.h"
#include "core/notation.h"

namespace tapwell {
namespace {

enum class Reader { notation, bit_text };

struct Site {
    const char* what;
    Reader reader;
    Notation notation;     // for Reader::notation
    const char* text;      // '@' is where the byte goes
    const char* message;   // '@' is where its name goes
};

constexpr Site SITES[] = {
    {"binary digit", Reader::notation, Notation::binary, "10@1", "@ at position 3 is not a binary digit (0 or 1)"},
    {"octal digit", Reader::notation, Notation::octal, "20@1", "@ at position 3 is not an octal digit (0 to 7)"},
    {"hex digit", Reader::notation, Notation::hex, "0x4@9", "@ at position 4 is not a hex digit (0 to 9, a to f)"},
    {"koopman digit", Reader::notation, Notation::koopman, "0x2@4",
     "@ at position 4 is not a hex digit (0 to 9, a to f)"},
    {"decimal digit", Reader::notation, Notation::decimal, "10@3", "@ at position 3 is not a decimal digit"},
    {"algebraic term", Reader::notation, Notation::algebraic, "x^4 + @",
     "@ at position 7 is not a term: expected x, X or 1"},
    {"algebraic exponent", Reader::notation, Notation::algebraic, "x^@ + 1",
     "@ at position 3 is not an exponent after '^' at position 2"},
    {"algebraic plus", Reader::notation, Notation::algebraic, "x^4@+ 1", "@ at position 4 is not '+' between terms"},
    {"bit text", Reader::bit_text, Notation::binary, "1\n0@1",
     "@ at position 4 (line 2, column 2) is not a bit: only 0, 1 and white space are read"},
};

struct Byte {
    unsigned char value;
    const char* name;
};

constexpr Byte BYTES[] = {
    {0x1f, "byte 0x1f"}, {0x7e, "'~'"}, {0x7f, "byte 0x7f"}, {0x80, "byte 0x80"}, {0xff, "byte 0xff"},
};

std::string with(std::string_view pattern, std::string_view filling) {
    std::string s(pattern);
    const std::size_t at = s.find('@');
    return s.replace(at, 1, filling);
}

std::string refusal(const Site& site, const std::string& text) {
    if (site.reader == Reader::bit_text) return read_bit_text(text).error;
    return read_notation(text, site.notation).error;
}

TEST(CharacterNames, EveryReaderNamesTheBytesAroundDelByValue) {
    for (const Site& site : SITES) {
        for (const Byte& b : BYTES) {
            const std::string text = with(site.text, std::string(1, static_cast<char>(b.value)));
            EXPECT_EQ(refusal(site, text), with(site.message, b.name)) << site.what << ", byte " << int{b.value};
        }
    }
}

}  // namespace
}  // namespace tapwell

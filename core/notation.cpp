// Ring: core. See notation.h.
#include "core/notation.h"

#include <bit>

#include "core/bit_words.h"

namespace tapwell {

namespace {

struct NotationName {
    Notation notation;
    const char* name;
};

constexpr NotationName NAMES[] = {
    {Notation::binary, "binary"},   {Notation::octal, "octal"},     {Notation::hex, "hex"},
    {Notation::koopman, "koopman"}, {Notation::decimal, "decimal"}, {Notation::algebraic, "algebraic"},
};

// How each numeric notation is written: its base, and whether "0x" may lead.
struct NumberForm {
    Notation notation;
    unsigned base;
    bool hex_prefix;
    const char* digit_name;
};

constexpr NumberForm NUMBER_FORMS[] = {
    {Notation::binary, 2, false, "a binary digit (0 or 1)"},
    {Notation::octal, 8, false, "an octal digit (0 to 7)"},
    {Notation::hex, 16, true, "a hex digit (0 to 9, a to f)"},
    {Notation::koopman, 16, true, "a hex digit (0 to 9, a to f)"},
    {Notation::decimal, 10, false, "a decimal digit"},
};

const NumberForm* number_form(Notation notation) {
    for (const NumberForm& f : NUMBER_FORMS) {
        if (f.notation == notation) return &f;
    }
    return nullptr;
}

std::string position(std::size_t index) { return "position " + std::to_string(index + 1); }

std::string offending(std::string_view text, std::size_t index, const std::string& what) {
    return character_name(text[index]) + " at " + position(index) + " " + what;
}

// Unsigned integers of 128 bits in 32-bit limbs, for the numeric notations.
struct Number {
    std::uint64_t limb[4] = {};  // each below 2^32, least significant first
    bool overflow = false;

    void times_add(unsigned base, unsigned digit) {
        std::uint64_t carry = digit;
        for (std::uint64_t& l : limb) {
            const std::uint64_t t = l * base + carry;
            l = t & 0xFFFFFFFFu;
            carry = t >> 32;
        }
        overflow = overflow || carry != 0;
    }
    unsigned divide(unsigned base) {  // returns the remainder
        std::uint64_t r = 0;
        for (int k = 3; k >= 0; --k) {
            const std::uint64_t t = (r << 32) | limb[k];
            limb[k] = t / base;
            r = t % base;
        }
        return static_cast<unsigned>(r);
    }
    bool zero() const { return (limb[0] | limb[1] | limb[2] | limb[3]) == 0; }
    std::uint64_t lo() const { return limb[0] | limb[1] << 32; }
    std::uint64_t hi() const { return limb[2] | limb[3] << 32; }
    static Number of(std::uint64_t lo, std::uint64_t hi) {
        Number n;
        n.limb[0] = lo & 0xFFFFFFFFu;
        n.limb[1] = lo >> 32;
        n.limb[2] = hi & 0xFFFFFFFFu;
        n.limb[3] = hi >> 32;
        return n;
    }
};

int digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::vector<std::uint64_t> word_of(PolyWord p) { return {(p.value << 1) | 1u, p.value >> 63}; }

// `at`: the 0-based index of the character the message names; none when it
// speaks of the text as a whole.
constexpr std::size_t WHOLE_TEXT = ~std::size_t{0};
NotationReading refused(std::string message, std::size_t at = WHOLE_TEXT) {
    return {{}, std::move(message), at == WHOLE_TEXT ? 0 : at + 1};
}
NotationReading refused_character(std::string_view text, std::size_t index, const std::string& what) {
    return refused(offending(text, index, what), index);
}

NotationReading read_number(std::string_view text, const NumberForm& form) {
    std::size_t i = 0;
    if (form.hex_prefix && text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) i = 2;
    if (i == text.size()) {
        return refused(text.empty() ? "empty text: no polynomial" : "no digits after '0x'");
    }
    Number n;
    for (; i < text.size(); ++i) {
        const int d = digit_value(text[i]);
        if (d < 0 || static_cast<unsigned>(d) >= form.base) {
            return refused_character(text, i, std::string("is not ") + form.digit_name);
        }
        n.times_add(form.base, static_cast<unsigned>(d));
    }
    if (n.overflow) return refused("the number is far above the largest polynomial of degree 64");
    if (form.notation == Notation::koopman) {
        // The value itself: bits of x^n .. x^1 with the constant term 1 implied.
        if (n.hi() != 0) {
            return refused("degree " + std::to_string(64 + static_cast<int>(std::bit_width(n.hi()))) +
                           " is above 64, the highest handled");
        }
        if (n.zero()) return refused("0 is no polynomial in Koopman's notation (it would be 1, of degree 0)");
        return {polynomial_of(n.lo()), {}};
    }
    return read_coefficient_word(n.lo(), n.hi());
}

std::string write_number(std::uint64_t lo, std::uint64_t hi, unsigned base) {
    Number n = Number::of(lo, hi);
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789abcdef"[n.divide(base)]);
    } while (!n.zero());
    return digits;
}

bool is_space(char c) { return c == ' ' || c == '\t'; }

NotationReading read_algebraic(std::string_view text) {
    constexpr std::size_t NONE = ~std::size_t{0};
    std::size_t term_at[MAX_POLYNOMIAL_DEGREE + 1];
    for (std::size_t& t : term_at) t = NONE;
    std::size_t i = 0, plus_at = 0;
    auto skip = [&] {
        while (i < text.size() && is_space(text[i])) ++i;
    };
    skip();
    if (i == text.size()) return refused("empty text: no polynomial");
    while (true) {
        skip();
        if (i == text.size()) return refused("the text ends after the '+' where a term should follow", plus_at);
        const std::size_t start = i;
        int exponent = 0;
        if (text[i] == 'x' || text[i] == 'X') {
            exponent = 1;
            ++i;
            skip();
            if (i < text.size() && text[i] == '^') {
                const std::size_t caret = i;
                ++i;
                skip();
                if (i == text.size() || text[i] < '0' || text[i] > '9') {
                    if (i == text.size()) {
                        return refused("the text ends after '^' at " + position(caret) + " where an exponent should follow",
                                       caret);
                    }
                    return refused_character(text, i, "is not an exponent after '^' at " + position(caret));
                }
                unsigned long e = 0;
                for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
                    e = e * 10 + static_cast<unsigned long>(text[i] - '0');
                    if (e > 1000) e = 1000;  // far beyond any degree; keeps reading the digits
                }
                if (e > MAX_POLYNOMIAL_DEGREE) {
                    return refused("the exponent at " + position(caret + 1) + " is above 64, the highest degree handled",
                                   caret + 1);
                }
                exponent = static_cast<int>(e);
            }
        } else if (text[i] >= '0' && text[i] <= '9') {
            while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
            if (text.substr(start, i - start) != "1") {
                return refused("the number " + std::string(text.substr(start, i - start)) + " at " + position(start) +
                               " is no term: the only constant term is 1",
                               start);
            }
        } else {
            return refused_character(text, i, "is not a term: expected x, X or 1");
        }
        // A repeated power is refused rather than cancelled: over GF(2) it would
        // silently drop the term, which a typing slip does far more often than intent.
        if (term_at[exponent] != NONE) {
            return refused("the term at " + position(start) + " repeats the power of the term at " +
                           position(term_at[exponent]) + "; each power may appear once",
                           start);
        }
        term_at[exponent] = start;
        skip();
        if (i == text.size()) break;
        if (text[i] != '+') return refused_character(text, i, "is not '+' between terms");
        plus_at = i++;
    }
    std::uint64_t lo = 0, hi = 0;
    for (int e = 0; e <= MAX_POLYNOMIAL_DEGREE; ++e) {
        if (term_at[e] == NONE) continue;
        if (e < 64) lo |= std::uint64_t{1} << e;
        else hi |= 1u;
    }
    return read_coefficient_word(lo, hi);
}

bool word_bit(const std::vector<std::uint64_t>& word, std::size_t k) {
    return (k >> 6) < word.size() && bit_at(word.data(), k);
}

}  // namespace

std::string character_name(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b == ' ') return "a space";
    if (b > 0x20 && b < 0x7F) return std::string("'") + c + "'";
    const char* hex = "0123456789abcdef";
    return std::string("byte 0x") + hex[b >> 4] + hex[b & 15];
}

NotationReading read_coefficient_word(std::uint64_t lo, std::uint64_t hi) {
    const int degree = hi != 0 ? 63 + static_cast<int>(std::bit_width(hi)) : static_cast<int>(std::bit_width(lo)) - 1;
    if (degree < 0) return refused("the zero polynomial is no register's polynomial");
    if (degree > MAX_POLYNOMIAL_DEGREE) {
        return refused("degree " + std::to_string(degree) + " is above 64, the highest handled");
    }
    if ((lo & 1u) == 0) {
        return refused("the constant term is 0: x divides " +
                       algebraic_text({lo, hi}, static_cast<std::size_t>(degree)) +
                       ", and no shift register has such a polynomial (its constant term must be 1)");
    }
    if (degree == 0) return refused("1 has degree 0; a register's polynomial has degree 1 to 64");
    return {{(lo >> 1) | (hi << 63), degree}, {}};
}

const char* notation_name(Notation notation) noexcept {
    for (const NotationName& n : NAMES) {
        if (n.notation == notation) return n.name;
    }
    return "";
}

std::optional<Notation> find_notation(std::string_view name) {
    for (const NotationName& n : NAMES) {
        if (name == n.name) return n.notation;
    }
    return std::nullopt;
}

NotationReading read_notation(std::string_view text, Notation notation) {
    if (const NumberForm* form = number_form(notation)) return read_number(text, *form);
    return read_algebraic(text);
}

std::string write_notation(PolyWord p, Notation notation) {
    const std::vector<std::uint64_t> w = word_of(p);
    const auto degree = static_cast<std::size_t>(p.degree);
    switch (notation) {
        case Notation::binary: return binary_text(w, degree);
        case Notation::octal: return write_number(w[0], w[1], 8);
        case Notation::hex: return "0x" + write_number(w[0], w[1], 16);
        case Notation::koopman: return "0x" + write_number(p.value, 0, 16);
        case Notation::decimal: return write_number(w[0], w[1], 10);
        case Notation::algebraic: return algebraic_text(w, degree);
    }
    return {};
}

PolyWord reciprocal(PolyWord p) {
    std::uint64_t value = 0;
    for (int k = 1; k <= p.degree; ++k) {
        if (coefficient(p, p.degree - k)) value |= std::uint64_t{1} << (k - 1);
    }
    return {value, p.degree};
}

std::string binary_text(const std::vector<std::uint64_t>& word, std::size_t degree) {
    std::string text(degree + 1, '0');
    for (std::size_t k = 0; k <= degree; ++k) {
        if (word_bit(word, k)) text[degree - k] = '1';
    }
    return text;
}

std::string algebraic_text(const std::vector<std::uint64_t>& word, std::size_t degree) {
    std::string text;
    for (std::size_t k = degree + 1; k-- > 0;) {
        if (!word_bit(word, k)) continue;
        if (!text.empty()) text += " + ";
        if (k == 0) text += '1';
        else if (k == 1) text += 'x';
        else text += "x^" + std::to_string(k);
    }
    return text.empty() ? "0" : text;
}

}  // namespace tapwell

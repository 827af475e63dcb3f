// Ring: cli. See notation_option.h.
#include "cli/notation_option.h"

#include <CLI/CLI.hpp>

#include <vector>

#include "cli/job_runner.h"
#include "core/shift_register.h"

namespace tapwell::cli {

namespace {

std::string names_joined(const char* separator) {
    std::string text;
    for (Notation n : ALL_NOTATIONS) {
        if (!text.empty()) text += separator;
        text += notation_name(n);
    }
    return text;
}

bool fits_window(const PolyWord& p, std::string_view what) {
    if (p.degree <= WINDOW_MAX_DEGREE) return true;
    print_error(std::string(what) + ": " + write_notation(p, Notation::algebraic) + " has degree " +
                std::to_string(p.degree) + "; the window's registers hold degrees up to 32");
    return false;
}

}  // namespace

CLI::Option* add_notation_option(CLI::App& command, const std::string& flag, std::optional<Notation>& target,
                                 const std::string& help) {
    std::vector<std::string> names;
    for (Notation n : ALL_NOTATIONS) names.emplace_back(notation_name(n));
    return command
        .add_option_function<std::string>(
            flag, [&target](const std::string& name) { target = find_notation(name); }, help)
        ->check(CLI::IsMember(names))
        ->option_text(names_joined("|"));
}

bool read_polynomial_argument(std::string_view text, Notation notation, std::string_view what, PolyWord& out) {
    const NotationReading r = read_notation(text, notation);
    if (!r.ok()) {
        print_error(std::string(what) + " (" + notation_name(notation) + "): " + r.error);
        return false;
    }
    out = r.poly;
    return true;
}

bool window_polynomial_text(std::string_view text, Notation notation, std::string_view what, std::string& out) {
    PolyWord p;
    if (!read_polynomial_argument(text, notation, what, p) || !fits_window(p, what)) return false;
    out = write_notation(p, Notation::binary);
    return true;
}

bool window_list_text(std::string_view list, Notation notation, std::string_view what, std::string& out) {
    // Bytes the window's line reading would stop at end every later line; in a
    // list that is converted they can only be a mistake.
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto b = static_cast<unsigned char>(list[i]);
        if (b == 0 || b >= 0x80) {
            print_error(std::string(what) + ": byte " + std::to_string(b) + " at position " + std::to_string(i + 1) +
                        " is not part of a polynomial list");
            return false;
        }
    }
    ListReader reader = list_reader(list);
    out.clear();
    for (int line = 1; reader.at != reader.end; ++line) {
        const std::string_view text = read_list_line(reader);
        std::string converted(text);
        if (line % 2 == 1) {
            const std::string where = std::string(what) + ", line " + std::to_string(line);
            if (!window_polynomial_text(text, notation, where, converted)) return false;
        }
        if (line > 1) out += "\r\n";
        out += converted;
    }
    return true;
}

}  // namespace tapwell::cli

// Ring: cli. The facts a question command prints (describe, identify,
// presets): one "key: value" line each for people and scripts, or the same
// facts as one JSON object with --json. Each fact keeps both forms.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tapwell::cli {

class FactList {
public:
    void text(std::string_view key, std::string_view value);
    void number(std::string_view key, std::uint64_t value);
    void flag(std::string_view key, bool value);  // "yes"/"no", true/false
    // A list: its items joined by `separator` on the line, an array in JSON.
    void list(std::string_view key, const std::vector<std::string>& items, std::string_view separator);
    // Different line and JSON forms (the JSON already JSON text).
    void both(std::string_view key, std::string_view line, std::string_view json);

    void print(std::FILE* stream, bool json) const;
    // The facts as one JSON object, without a newline.
    std::string json() const;

private:
    struct Fact {
        std::string key, line, json;
    };
    std::vector<Fact> facts_;
};

// Prints the facts to standard output, in line form followed by `trailer`
// (lines of its own): EXIT_DONE, or EXIT_USAGE after a message when standard
// output cannot be written.
int print_facts(const FactList& facts, bool json, std::string_view trailer = {});

// Prints JSON text that is not one object of facts (a list), the same way.
int print_json(std::string_view json);

}  // namespace tapwell::cli

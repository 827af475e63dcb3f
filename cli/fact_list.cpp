// Ring: cli. See fact_list.h.
#include "cli/fact_list.h"

#include "cli/job_runner.h"
#include "cli/json_writer.h"

namespace tapwell::cli {

void FactList::text(std::string_view key, std::string_view value) { both(key, value, json_string(value)); }

void FactList::number(std::string_view key, std::uint64_t value) {
    const std::string digits = std::to_string(value);
    both(key, digits, digits);
}

void FactList::flag(std::string_view key, bool value) { both(key, value ? "yes" : "no", value ? "true" : "false"); }

void FactList::list(std::string_view key, const std::vector<std::string>& items, std::string_view separator) {
    std::string line;
    JsonWriter json;
    json.begin_array();
    for (const std::string& item : items) {
        if (!line.empty()) line.append(separator);
        line += item;
        json.string(item);
    }
    json.end_array();
    both(key, line, json.text());
}

void FactList::both(std::string_view key, std::string_view line, std::string_view json) {
    facts_.push_back({std::string(key), std::string(line), std::string(json)});
}

void FactList::print(std::FILE* stream, bool json) const {
    if (!json) {
        for (const Fact& f : facts_) {
            std::fprintf(stream, f.line.empty() ? "%s:%s\n" : "%s: %s\n", f.key.c_str(), f.line.c_str());
        }
        return;
    }
    std::fprintf(stream, "%s\n", this->json().c_str());
}

std::string FactList::json() const {
    JsonWriter w;
    w.begin_object();
    for (const Fact& f : facts_) w.key(f.key).raw(f.json);
    w.end_object();
    return w.text();
}

namespace {
int flushed_output() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        print_error("cannot write standard output");
        return EXIT_USAGE;
    }
    return EXIT_DONE;
}
}  // namespace

int print_facts(const FactList& facts, bool json, std::string_view trailer) {
    facts.print(stdout, json);
    if (!json && !trailer.empty()) std::fprintf(stdout, "%.*s\n", static_cast<int>(trailer.size()), trailer.data());
    return flushed_output();
}

int print_json(std::string_view json) {
    std::fprintf(stdout, "%.*s\n", static_cast<int>(json.size()), json.data());
    return flushed_output();
}

}  // namespace tapwell::cli

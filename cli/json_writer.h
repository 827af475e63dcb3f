// Ring: cli. A small JSON writer for the facts of tapwell-cli's --json
// output: objects, arrays, strings (escaped: quotes, backslashes, control
// characters, and bytes that are not UTF-8 as U+FFFD), integers and booleans.
// It builds text only; the caller prints it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tapwell::cli {

// A string as a JSON string literal, quotes included.
std::string json_string(std::string_view text);

class JsonWriter {
public:
    JsonWriter& begin_object() { return open('{'); }
    JsonWriter& end_object() { return close('}'); }
    JsonWriter& begin_array() { return open('['); }
    JsonWriter& end_array() { return close(']'); }
    JsonWriter& key(std::string_view name);
    JsonWriter& string(std::string_view value);
    JsonWriter& number(std::uint64_t value);
    JsonWriter& boolean(bool value);
    JsonWriter& null();
    // A value that is already JSON text (one another writer built).
    JsonWriter& raw(std::string_view json);

    const std::string& text() const { return out_; }

private:
    JsonWriter& open(char bracket);
    JsonWriter& close(char bracket);
    void before_value();

    std::string out_;
    std::vector<bool> has_items_;  // per open object or array
    bool after_key_ = false;
};

}  // namespace tapwell::cli

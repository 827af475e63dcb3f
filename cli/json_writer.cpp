// Ring: cli. See json_writer.h.
#include "cli/json_writer.h"

namespace tapwell::cli {

namespace {

// Length of the well-formed UTF-8 sequence at text[i], or 0 when it is none.
std::size_t utf8_length(std::string_view text, std::size_t i) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t n = 0;
    unsigned min = 0;
    if (b >= 0xC2 && b <= 0xDF) n = 2, min = 0x80;
    else if (b >= 0xE0 && b <= 0xEF) n = 3, min = 0x800;
    else if (b >= 0xF0 && b <= 0xF4) n = 4, min = 0x10000;
    else return 0;
    if (i + n > text.size()) return 0;
    unsigned cp = b & (0x7Fu >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

}  // namespace

std::string json_string(std::string_view text) {
    static const char* hex = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '"': out += "\\\""; continue;
            case '\\': out += "\\\\"; continue;
            case '\b': out += "\\b"; continue;
            case '\f': out += "\\f"; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            default: break;
        }
        if (c < 0x20) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const std::size_t n = utf8_length(text, i); n != 0) {
            out.append(text.substr(i, n));
            i += n - 1;
        } else {
            out += "\\ufffd";
        }
    }
    out += '"';
    return out;
}

void JsonWriter::before_value() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (!has_items_.empty()) {
        if (has_items_.back()) out_ += ", ";
        has_items_.back() = true;
    }
}

JsonWriter& JsonWriter::open(char bracket) {
    before_value();
    out_ += bracket;
    has_items_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
    has_items_.pop_back();
    out_ += bracket;
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    before_value();
    out_ += json_string(name);
    out_ += ": ";
    after_key_ = true;
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view value) { return raw(json_string(value)); }

JsonWriter& JsonWriter::number(std::uint64_t value) { return raw(std::to_string(value)); }

JsonWriter& JsonWriter::boolean(bool value) { return raw(value ? "true" : "false"); }

JsonWriter& JsonWriter::null() { return raw("null"); }

JsonWriter& JsonWriter::raw(std::string_view json) {
    before_value();
    out_ += json;
    return *this;
}

}  // namespace tapwell::cli

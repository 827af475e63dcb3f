// Ring: jobs. Builds one output line in a fixed buffer with std::to_chars:
// no allocation and no locale, so it may run once per item of a hot loop.
// Everything that writes a polynomial writes it through polynomial().
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/poly_text.h"

namespace tapwell {

class LineBuilder {
public:
    LineBuilder& text(std::string_view s) {
        std::size_t n = s.size() < CAPACITY - length_ ? s.size() : CAPACITY - length_;
        std::memcpy(buffer_ + length_, s.data(), n);
        length_ += n;
        return *this;
    }
    template <typename Integer>
    LineBuilder& number(Integer value) {
        auto r = std::to_chars(buffer_ + length_, buffer_ + CAPACITY, value);
        length_ = static_cast<std::size_t>(r.ptr - buffer_);
        return *this;
    }
    // The written form of a polynomial value: its stored bits, then the
    // constant term's "1".
    LineBuilder& polynomial(std::uint32_t value) { return text(format_binary(value).view()).text("1"); }
    LineBuilder& clear() {
        length_ = 0;
        return *this;
    }
    std::string_view view() const { return {buffer_, length_}; }

private:
    static constexpr std::size_t CAPACITY = 240;
    char buffer_[CAPACITY];
    std::size_t length_ = 0;
};

}  // namespace tapwell

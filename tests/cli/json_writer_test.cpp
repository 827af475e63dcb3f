// Ring: tests. The JSON writer of tapwell-cli: escapes, nesting, and bytes
// that are not UTF-8.
#include <gtest/gtest.h>

#include "cli/json_writer.h"

namespace tapwell::cli {
namespace {

TEST(JsonWriter, EscapesWhatJsonRequires) {
    const struct {
        std::string_view in;
        const char* out;
    } cases[] = {
        {"plain", "\"plain\""},
        {"quote \" and \\", "\"quote \\\" and \\\\\""},
        {"\n\r\t\b\f", "\"\\n\\r\\t\\b\\f\""},
        {std::string_view("\x01\x1f\0", 3), "\"\\u0001\\u001f\\u0000\""},
        {"\xe2\x80\x94 \xf0\x9f\x98\x80", "\"\xe2\x80\x94 \xf0\x9f\x98\x80\""},  // UTF-8 stays
        {"\xff \xc0\xaf \xe2\x80", "\"\\ufffd \\ufffd\\ufffd \\ufffd\\ufffd\""},    // not UTF-8
        {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},                            // a surrogate
    };
    for (const auto& c : cases) EXPECT_EQ(json_string(c.in), c.out) << c.out;
}

TEST(JsonWriter, NestsObjectsAndArrays) {
    JsonWriter w;
    w.begin_object().key("a").number(18446744073709551615u).key("b").begin_array();
    w.boolean(true).null().begin_object().key("c").string("d").end_object().end_array();
    w.key("e").raw("[]").end_object();
    EXPECT_EQ(w.text(), "{\"a\": 18446744073709551615, \"b\": [true, null, {\"c\": \"d\"}], \"e\": []}");
}

}  // namespace
}  // namespace tapwell::cli

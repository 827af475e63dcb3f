// Ring: tests. The log's inline writes and in-place formatting across many
// buffer boundaries give exactly the bytes written, in order.
#include <gtest/gtest.h>

#include <charconv>
#include <string>

#include "jobs/log_stream.h"
#include "tests/reference/recording_front_end.h"

namespace tapwell {
namespace {

TEST(LogStream, MixedWritesAcrossBufferBoundaries) {
    testing::JobFixture f;  // a fresh log in a temporary file
    std::string expected;
    for (std::uint32_t i = 0; i < 200000; ++i) {
        switch (i % 4) {
            case 0: {
                const std::string line = "line " + std::to_string(i) + std::string(i % 37, 'x');
                log_write_line(line);
                expected += line + "\n";
                break;
            }
            case 1: {
                char* at = log_reserve(16);
                char* end = std::to_chars(at, at + 15, i).ptr;
                *end++ = '\n';
                log_commit(end);
                expected += std::to_string(i) + "\n";
                break;
            }
            case 2:
                log_write("part;");
                expected += "part;";
                break;
            default:
                if (i % 40000 == 3) {  // now and then a text larger than the buffer
                    const std::string big(300000, static_cast<char>('a' + i % 26));
                    log_write(big);
                    expected += big;
                }
                log_write_line("");
                expected += "\n";
        }
    }
    EXPECT_EQ(f.log_text(), expected);
}

TEST(LogStream, NothingIsWrittenWithoutAnOpenLog) {
    log_close();
    log_write_line("lost");
    char* at = log_reserve(8);
    at[0] = 'x';
    log_commit(at + 1);
    log_write("lost too");
    EXPECT_FALSE(log_is_open());
}

}  // namespace
}  // namespace tapwell

// Ring: tests. The log's inline writes and in-place formatting across many
// buffer boundaries give exactly the bytes written, in order, also when the
// writes queue up at a slow reader; the file only ever receives whole lines; a
// write that fails part-way is cut back to the last whole line and ends the
// writing; the writes handed over are finished by the keeper when the process
// is killed.
#include <gtest/gtest.h>

#include <atomic>
#include <charconv>
#include <csignal>
#include <fstream>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "runtime/log_sink.h"
#include "runtime/log_stream.h"
#include "tests/reference/recording_front_end.h"
#include "tests/reference/slow_reader.h"

namespace tapwell {
namespace {

constexpr std::size_t BUFFER = log_sink::BUFFER_SIZE;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string temp_file(const std::string& bytes) {
    char path[] = "/tmp/tapwell-log-test-XXXXXX";
    const int fd = mkstemp(path);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fd);
    return path;
}

bool starts_with(const std::string& s, const std::string& head) { return s.compare(0, head.size(), head) == 0; }

// Line i: its number, padded to a length that varies, so that line ends fall
// anywhere against the buffer and the pages.
std::string numbered_line(std::uint32_t i) { return "line " + std::to_string(i) + std::string(i % 53, '.') + "\n"; }

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
                    const std::string big(BUFFER + 12345, static_cast<char>('a' + i % 26));
                    log_write(big);
                    expected += big;
                }
                log_write_line("");
                expected += "\n";
        }
    }
    EXPECT_EQ(f.log_text(), expected);
}

TEST(LogStream, TheFileOnlyEverReceivesWholeLines) {
    testing::JobFixture f;
    std::string expected;
    off_t seen = 0;
    int blocks = 0;
    for (std::uint32_t i = 0; expected.size() < 3 * BUFFER; ++i) {
        const std::string line = numbered_line(i);
        // In two pieces, so that a buffer often fills inside a line.
        log_write(std::string_view(line).substr(0, line.size() / 2));
        log_write(std::string_view(line).substr(line.size() / 2));
        expected += line;
        log_sink::wait();  // a block handed over is written by now
        struct stat st {};
        ASSERT_EQ(stat(f.log_path.c_str(), &st), 0);
        if (st.st_size == seen) continue;
        seen = st.st_size;
        ++blocks;
        const std::string text = read_file(f.log_path);
        ASSERT_TRUE(starts_with(expected, text)) << "after line " << i;
        ASSERT_EQ(text.back(), '\n') << "after line " << i;
    }
    EXPECT_GE(blocks, 2);
    // A flush writes the whole lines; an unfinished one waits for its end.
    log_write("unfinished");
    log_flush();
    EXPECT_EQ(read_file(f.log_path), expected);
    log_write_line(" now finished");
    log_flush();
    EXPECT_EQ(read_file(f.log_path), expected + "unfinished now finished\n");
}

// A reader slower than the job: the writes queue up at the keeper until every
// buffer but one is in flight, and the buffers go round several times; each
// is filled again only once its write is done, so the reader gets every line
// once, in order.
TEST(LogStream, QueuedWritesArriveInOrderWhenTheBuffersGoRound) {
    testing::SlowReader reader;
    ASSERT_TRUE(reader.made());
    std::string expected;
    for (std::uint32_t i = 0; expected.size() < 3 * log_sink::BUFFER_COUNT * BUFFER; ++i) expected += numbered_line(i);
    ASSERT_TRUE(log_open(reader.path().c_str()));
    reader.start(200);
    // In pieces that end anywhere in a line, far faster than the reader reads.
    for (std::size_t at = 0; at < expected.size(); at += 4001) log_write(std::string_view(expected).substr(at, 4001));
    log_close();
    const std::string received = reader.finish();
    EXPECT_EQ(received.size(), expected.size());
    EXPECT_TRUE(received == expected);
}

// A line of exactly the room left in the buffer, one byte less and one more,
// through each way of writing, after a buffer filled up to a line end or to
// the middle of a line: the file holds exactly the bytes written.
TEST(LogStream, LinesAtTheEdgeOfTheBufferArriveByteForByte) {
    enum class Path { write, write_line, reserve };
    const struct {
        const char* name;
        Path path;
    } paths[] = {{"log_write", Path::write}, {"log_write_line", Path::write_line}, {"log_reserve", Path::reserve}};
    const std::size_t room = 100;
    for (const auto& p : paths) {
        for (const bool inside_a_line : {false, true}) {
            for (const int off : {-1, 0, 1}) {
                const std::string name = std::string(p.name) + (inside_a_line ? ", after a part line" : "") +
                                         ", room " + std::to_string(off);
                testing::JobFixture f;
                std::string expected;
                // Lines for most of a buffer, then filled up to `room` before
                // the point where the inline writes stop (the buffer's end, or
                // short of it while the writer is free), in whole lines or
                // ending inside one.
                auto left = [] { return static_cast<std::size_t>(log_detail::limit - log_detail::cursor); };
                for (std::uint32_t i = 0; expected.size() < BUFFER - 5000 || left() < room + 2; ++i) {
                    log_write(numbered_line(i));
                    expected += numbered_line(i);
                }
                const std::string filler = std::string(left() - room - 1, '-') + (inside_a_line ? "-" : "\n");
                log_write(filler);
                expected += filler;
                ASSERT_EQ(left(), room) << name;
                const std::string line = std::string(room + off - 1, static_cast<char>('a' + off + 1)) + "\n";
                switch (p.path) {
                    case Path::write: log_write(line); break;
                    case Path::write_line: log_write_line(std::string_view(line).substr(0, line.size() - 1)); break;
                    case Path::reserve: {
                        char* at = log_reserve(line.size());
                        std::memcpy(at, line.data(), line.size());
                        log_commit(at + line.size());
                        break;
                    }
                }
                expected += line;
                // And on through two more buffers, which a cursor run past
                // the buffer's end would spoil.
                for (std::uint32_t i = 0; expected.size() < 3 * BUFFER; ++i) {
                    log_write_line("after " + std::to_string(i));
                    expected += "after " + std::to_string(i) + "\n";
                }
                const std::string text = f.log_text();
                EXPECT_EQ(text.size(), expected.size()) << name;
                EXPECT_TRUE(text == expected) << name;
            }
        }
    }
}

TEST(LogStream, LineLongerThanTheBufferArrivesWhole) {
    testing::JobFixture f;
    const std::string long_line(2 * BUFFER + 12345, 'x');
    log_write_line("before");
    log_write(long_line.substr(0, 1000));  // reaches the buffer in pieces of every size
    log_write(long_line.substr(1000));
    log_write_line("");
    log_write_line("after");
    EXPECT_EQ(f.log_text(), "before\n" + long_line + "\nafter\n");
}

TEST(LogStream, CloseWritesAnUnfinishedLastText) {
    const std::string path = temp_file("");
    ASSERT_TRUE(log_open(path.c_str()));
    log_write_line("one");
    log_write("two, without its end");
    log_close();
    EXPECT_EQ(read_file(path), "one\ntwo, without its end");
    EXPECT_FALSE(log_failed());
    unlink(path.c_str());
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

// The system's limit on the size of the files this process writes
// (RLIMIT_FSIZE) stands in for a full disk: a write that crosses it is cut
// short there, the next one fails with EFBIG, as on a disk that fills.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

TEST(LogStream, AWriteCutShortIsCutBackToTheLastWholeLine) {
    struct Case {
        const char* name;
        std::string earlier;  // what the file held before the log was opened
        rlim_t limit;
    };
    const Case cases[] = {
        {"inside the first block", "earlier line\n", 100003},
        {"inside a later block", "earlier line\n", BUFFER + 70001},
        {"after a file without its last line end", "no line end", 100003},
        {"below what the file held", "earlier line\n", 5},
    };
    for (const Case& c : cases) {
        const std::string path = temp_file(c.earlier);
        std::string expected = c.earlier;
        {
            FileSizeLimit limit(c.limit);
            ASSERT_TRUE(log_open(path.c_str())) << c.name;  // the keeper starts under the limit too
            for (std::uint32_t i = 0; expected.size() < 2 * BUFFER + c.limit; ++i) {
                log_write(numbered_line(i));
                expected += numbered_line(i);
            }
            EXPECT_TRUE(log_failed()) << c.name << ": the flag a running job polls";
            log_flush();
        }
        // Nothing more is written once a write has failed, even with room again.
        log_write_line("after the failure");
        log_close();
        std::string reason;
        EXPECT_TRUE(log_failed(&reason)) << c.name;
        EXPECT_EQ(reason, std::strerror(EFBIG)) << c.name;
        const std::string text = read_file(path);
        EXPECT_TRUE(starts_with(text, c.earlier)) << c.name << ": never cut below what was there";
        EXPECT_TRUE(starts_with(expected, text)) << c.name;
        EXPECT_LE(text.size(), std::max<std::size_t>(c.limit, c.earlier.size())) << c.name;
        if (text.size() > c.earlier.size()) {
            EXPECT_EQ(text.back(), '\n') << c.name;
            EXPECT_GT(text.size() + 60, c.limit) << c.name << ": every whole line that fitted is kept";
        } else {
            EXPECT_EQ(text, c.earlier) << c.name;
        }
        unlink(path.c_str());
    }
}

std::atomic<int> sigpipes{0};

TEST(LogStream, AClosedPipeRaisesSigpipeAsAWriteOfOurOwnWould) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    auto previous = std::signal(SIGPIPE, [](int) { ++sigpipes; });
    std::FILE* out = fdopen(ends[1], "w");
    log_attach(out);
    std::string lines;
    for (std::uint32_t i = 0; lines.size() < BUFFER + BUFFER / 2; ++i) lines += numbered_line(i);
    log_write(lines);  // more than a buffer
    usleep(100000);  // the keeper has failed by now, before our next hand-over
    log_write(lines);  // as a job goes on
    EXPECT_EQ(sigpipes.load(), 1);
    log_close();
    std::string reason;
    EXPECT_TRUE(log_failed(&reason));
    EXPECT_EQ(reason, std::strerror(EPIPE));
    std::fclose(out);
    std::signal(SIGPIPE, previous);
}

TEST(LogStream, WritesHandedOverAreFinishedWhenTheProcessIsKilled) {
    // A pipe that nobody reads holds the keeper in the middle of its first
    // write, with the second queued behind it; a process writing its log
    // itself would be stopped in the first by the kill.
    char dir[] = "/tmp/tapwell-log-fifo-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string fifo = std::string(dir) + "/log";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::string lines;
    for (std::uint32_t i = 0; lines.size() < BUFFER + 20000; ++i) lines += numbered_line(i);
    std::fflush(nullptr);
    const pid_t writer = fork();
    if (writer == 0) {
        if (!log_open(fifo.c_str())) _exit(1);
        log_write(lines);  // the first block goes out, then the rest
        log_flush();       // the process waits for both
        log_close();
        _exit(0);
    }
    ASSERT_GT(writer, 0);
    pollfd p{reader, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 10000), 1);
    usleep(200000);  // the pipe is full and the write in the middle of its block
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    fcntl(reader, F_SETFL, 0);
    std::string received;
    char chunk[65536];
    for (ssize_t n; (n = read(reader, chunk, sizeof chunk)) > 0;) received.append(chunk, static_cast<std::size_t>(n));
    close(reader);
    unlink(fifo.c_str());
    rmdir(dir);
    // Every line: the first block whole, and the rest queued behind it.
    EXPECT_EQ(received.size(), lines.size());
    EXPECT_TRUE(received == lines);
}

}  // namespace
}  // namespace tapwell

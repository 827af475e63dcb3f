// Ring: tests. The settings file: what the reader takes from short, long,
// damaged and hostile files, and that what the writer stores comes back.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "jobs/shared_state.h"
#include "jobs/status_text.h"
#include "shell/settings_file.h"

namespace tapwell {
namespace {

std::string temp_path(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("tapwell_") + name + std::to_string(::getpid()))).string();
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void load(const std::string& bytes) {
    clear_shared_state();
    std::string path = temp_path("in");
    write_file(path, bytes);
    read_settings_file(path.c_str());
    std::filesystem::remove(path);
}

std::string integer_lines(int count, int first_value) {
    std::string s;
    for (int i = 0; i < count; ++i) s += std::to_string(first_value + i) + "\n";
    return s;
}

TEST(SettingsFile, ReadsAsFarAsTheFileGoes) {
    struct Case {
        const char* name;
        std::string file;
        int settings_read;     // Settings[0 .. n-1] = 1 .. n
        const char* slot1;     // SLOT_SEARCH_FROM afterwards
    };
    const Case cases[] = {
        {"empty", "", 0, ""},
        {"five of twenty", "20\n" + integer_lines(5, 1), 5, ""},
        {"twenty-five integers", "25\n" + integer_lines(25, 1) + "10\npath\n10011\n", 20, "10011"},
        {"negative count", "-3\n10\npath\n10011\n", 0, "10011"},
        {"no digits", "x\n" "1\n" "abc\n", 0, ""},
        {"twelve texts", "20\n" + integer_lines(20, 1) + "12\na\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\n", 20, "b"},
    };
    for (const Case& c : cases) {
        load(c.file);
        for (int i = 0; i < SETTINGS_COUNT; ++i) {
            EXPECT_EQ(setting(i), i < c.settings_read ? i + 1 : 0) << c.name << " index " << i;
        }
        EXPECT_STREQ(text_slot(SLOT_SEARCH_FROM), c.slot1) << c.name;
    }
    load("20\n" + integer_lines(20, 1) + "12\na\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\n");
    EXPECT_EQ(status_text(), "j");
}

TEST(SettingsFile, HugeNumbersSaturate) {
    load("20\n99999999999999999999\n-99999999999999999999\n  +42xyz\n");
    EXPECT_EQ(setting(0), 2147483647);
    EXPECT_EQ(setting(1), -2147483647 - 1);
    EXPECT_EQ(setting(2), 42);
    // A huge count only reads what is there.
    load("2147483647\n1\n2\n");
    EXPECT_EQ(setting(0), 1);
    EXPECT_EQ(setting(1), 2);
}

TEST(SettingsFile, TextsComeBackAsStored) {
    clear_shared_state();
    set_setting(SET_LANGUAGE, 1);
    set_setting(SET_WIN_LEFT, 120);
    set_setting(SET_WIN_BOTTOM, -7);
    set_setting(SET_RUN_STATE, RUN_PRIMITIVE_SEARCH);
    set_setting(19, 123456);
    const std::string full(TEXT_SLOT_SIZE - 1, 'x');       // fills its slot
    const std::string japanese = "\x8c\xb4\x8e\x6e\x5c";   // cp932 bytes, trail byte '\\'
    set_text_slot(SLOT_LOG_PATH, full.c_str());
    set_text_slot(SLOT_SEARCH_FROM, "10011");
    set_text_slot(3, japanese.c_str());
    set_text_slot(SLOT_POLY_LIST, "10011\r\n1\r\n");
    set_text_slot(SLOT_RESULT, "10011\r\n11001\r\n");
    status_set("Finished. found=2\n");

    std::string path = temp_path("rt");
    ASSERT_TRUE(write_settings_file(path.c_str()));
    std::string bytes = read_file(path);
    EXPECT_EQ(bytes.substr(0, 12), "20\n1\n120\n0\n0");
    EXPECT_NE(bytes.find("\n10011\r\a11001\r\a\nFinished. found=2\a\n"), std::string::npos);

    clear_shared_state();
    read_settings_file(path.c_str());
    std::filesystem::remove(path);
    EXPECT_EQ(setting(SET_LANGUAGE), 1);
    EXPECT_EQ(setting(SET_WIN_LEFT), 120);
    EXPECT_EQ(setting(SET_WIN_BOTTOM), -7);
    EXPECT_EQ(setting(SET_RUN_STATE), RUN_NO_LOG);  // never stored as running
    EXPECT_EQ(setting(19), 123456);
    EXPECT_EQ(text_slot(SLOT_LOG_PATH), full);     // not split into two entries
    EXPECT_STREQ(text_slot(SLOT_SEARCH_FROM), "10011");
    EXPECT_EQ(text_slot(3), japanese);
    EXPECT_STREQ(text_slot(SLOT_POLY_LIST), "10011\r\n1\r\n");
    EXPECT_STREQ(text_slot(SLOT_RESULT), "10011\r\n11001\r\n");
    EXPECT_EQ(status_text(), "Finished. found=2\n");
}

TEST(SettingsFile, DamagedLines) {
    // A line far longer than a slot is cut to the slot and does not spill into
    // the next texts; binary bytes are kept; BEL becomes a line feed.
    std::string huge(100000, '1');
    std::string binary = std::string("\x01\xff\x80\x1a", 4);
    load("20\n" + integer_lines(20, 1) + "10\n" + huge + "\n" + binary + "\n" + "a\ab\n");
    EXPECT_EQ(std::string(text_slot(SLOT_LOG_PATH)), std::string(TEXT_SLOT_SIZE - 1, '1'));
    EXPECT_EQ(std::string(text_slot(SLOT_SEARCH_FROM)), binary);
    EXPECT_STREQ(text_slot(SLOT_FIND_COUNT), "a\nb");

    // A NUL byte ends the text; the entry still ends at the line feed.
    load(std::string("1\n5\n3\nab\0cd\nnext\n", 18));
    EXPECT_STREQ(text_slot(SLOT_LOG_PATH), "ab");
    EXPECT_STREQ(text_slot(SLOT_SEARCH_FROM), "next");

    // The last line without its line end keeps its last character.
    load("0\n2\npath\n10011");
    EXPECT_STREQ(text_slot(SLOT_SEARCH_FROM), "10011");
}

TEST(SettingsFile, UnwritableFileIsLeftAlone) {
    std::string path = temp_path("ro");
    write_file(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    clear_shared_state();
    std::FILE* probe = std::fopen(path.c_str(), "a");
    if (probe != nullptr) {
        std::fclose(probe);  // running as root: permissions do not bind
    } else {
        EXPECT_FALSE(write_settings_file(path.c_str()));
        EXPECT_EQ(read_file(path), "old");
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    std::filesystem::remove(path);
    EXPECT_FALSE(write_settings_file("/nonexistent-dir/Tapwell.ini"));
    EXPECT_FALSE(read_settings_file("/nonexistent-dir/Tapwell.ini"));
}

// A save that fails at any step leaves the earlier file byte for byte and no
// temporary file; one that succeeds leaves no temporary file either.
TEST(SettingsFile, SaveReplacesTheFileWholeOrNotAtAll) {
    struct Case {
        const char* name;
        rlim_t size_limit;    // RLIMIT_FSIZE while saving: a disk that fills
        ReplaceFile replace;
        bool saved;
    };
    const Case cases[] = {
        {"saved", RLIM_INFINITY, rename_over, true},
        {"the disk fills", 10, rename_over, false},
        {"the disk is full", 0, rename_over, false},
        {"the rename fails", RLIM_INFINITY, [](const char*, const char*) { return false; }, false},
    };
    const std::string earlier = "20\n1\n2\n3\n" + std::string(5000, '7') + "\n";
    for (const Case& c : cases) {
        const std::string path = temp_path("save");
        write_file(path, earlier);
        clear_shared_state();
        set_text_slot(SLOT_SEARCH_FROM, "10011");
        bool saved;
        {
            rlimit saved_limit{};
            getrlimit(RLIMIT_FSIZE, &saved_limit);
            rlimit limit = saved_limit;
            limit.rlim_cur = c.size_limit;
            auto previous = std::signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &limit);
            saved = write_settings_file(path.c_str(), c.replace);
            setrlimit(RLIMIT_FSIZE, &saved_limit);
            std::signal(SIGXFSZ, previous);
        }
        EXPECT_EQ(saved, c.saved) << c.name;
        EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << c.name;
        if (c.saved) {
            std::FILE* expected = std::tmpfile();
            write_settings(expected);
            std::rewind(expected);
            std::string bytes;
            for (int ch; (ch = std::fgetc(expected)) != EOF;) bytes += static_cast<char>(ch);
            std::fclose(expected);
            EXPECT_EQ(read_file(path), bytes) << c.name;
        } else {
            EXPECT_EQ(read_file(path), earlier) << c.name;
        }
        std::filesystem::remove(path);
    }
}

TEST(SettingsFile, PathFromProgramPath) {
    char out[SETTINGS_PATH_SIZE];
    EXPECT_TRUE(settings_path_from_program_path("C:\\work\\Tapwell.exe", out, sizeof out));
    EXPECT_STREQ(out, "C:\\work\\Tapwell.ini");
    std::string long_path = std::string(SETTINGS_PATH_SIZE, 'a') + ".exe";
    EXPECT_FALSE(settings_path_from_program_path(long_path.c_str(), out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(settings_path_from_program_path(nullptr, out, sizeof out));
}

}  // namespace
}  // namespace tapwell

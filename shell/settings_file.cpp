// Ring: shell. See settings_file.h.
#include "shell/settings_file.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "jobs/leading_integer.h"
#include "jobs/shared_state.h"
#include "jobs/status_text.h"

namespace tapwell {

namespace {

constexpr char BEL = 7;

// One physical line, its first TEXT_SLOT_SIZE - 1 bytes kept; the rest of a
// longer line is read and dropped so the next entry starts on the next line.
struct Line {
    char text[TEXT_SLOT_SIZE];
    std::size_t length;
    bool had_line_feed;
};

// False at the end of the file (nothing read).
bool read_line(std::FILE* in, Line& line) {
    line.length = 0;
    line.had_line_feed = false;
    int c = std::getc(in);
    if (c == EOF) return false;
    for (; c != EOF; c = std::getc(in)) {
        if (c == '\n') {
            line.had_line_feed = true;
            break;
        }
        if (line.length < TEXT_SLOT_SIZE - 1) line.text[line.length++] = static_cast<char>(c);
    }
    line.text[line.length] = '\0';
    return true;
}

// A count line: its leading integer; the loops below end at the file's end,
// so a huge count only reads what is there.
bool read_count(std::FILE* in, Line& line, std::int32_t& count) {
    if (!read_line(in, line)) return false;
    count = leading_integer(line.text);
    return true;
}

void store_text(int slot, Line& line) {
    // A NUL byte inside the line ends the text, as the slot is a C string.
    for (std::size_t i = 0; i < line.length; ++i) {
        if (line.text[i] == BEL) line.text[i] = '\n';
    }
    set_text_slot(slot, line.text);
}

}  // namespace

bool settings_path_from_program_path(const char* program_path, char* out, std::size_t out_size) {
    if (out_size == 0) return false;
    out[0] = '\0';
    if (program_path == nullptr) return false;
    std::size_t n = strnlen(program_path, out_size);
    if (n < 3 || n >= out_size) return false;
    std::memcpy(out, program_path, n - 3);
    std::memcpy(out + n - 3, "ini", 4);
    return true;
}

void read_settings(std::FILE* in) {
    static Line line;  // 2.7 kB: kept off the stack of the window procedure
    std::int32_t count = 0;
    if (!read_count(in, line, count)) return;
    for (std::int32_t i = 0; i < count; ++i) {
        if (!read_line(in, line)) return;
        if (i < SETTINGS_COUNT) set_setting(i, leading_integer(line.text));
    }
    if (!read_count(in, line, count)) return;
    for (std::int32_t j = 0; j < count; ++j) {
        if (!read_line(in, line)) return;
        if (j < TEXT_SLOT_COUNT) store_text(j, line);
    }
}

bool read_settings_file(const char* path) {
    std::FILE* in = std::fopen(path, "r");
    if (in == nullptr) return false;
    read_settings(in);
    std::fclose(in);
    return true;
}

bool write_settings(std::FILE* out) {
    set_setting(SET_RUN_STATE, RUN_NO_LOG);
    bool ok = std::fprintf(out, "%d\n", SETTINGS_COUNT) > 0;
    for (int i = 0; i < SETTINGS_COUNT; ++i) ok = std::fprintf(out, "%d\n", static_cast<int>(setting(i))) > 0 && ok;
    ok = std::fprintf(out, "%d\n", TEXT_SLOT_COUNT) > 0 && ok;
    static char text[TEXT_SLOT_SIZE];
    for (int j = 0; j < TEXT_SLOT_COUNT; ++j) {
        if (j == SLOT_STATUS) {
            std::string status = status_text();
            std::memcpy(text, status.c_str(), status.size() + 1);
        } else {
            std::memcpy(text, text_slot(j), TEXT_SLOT_SIZE);
        }
        for (char* p = text; *p != '\0'; ++p) {
            if (*p == '\n') *p = BEL;
        }
        ok = std::fputs(text, out) >= 0 && ok;
        ok = std::fputc('\n', out) != EOF && ok;
    }
    return ok;
}

bool rename_over(const char* temporary, const char* path) { return std::rename(temporary, path) == 0; }

bool write_settings_file(const char* path, ReplaceFile replace) {
    // A settings file that may not be written stays as it is, although a
    // rename could replace it.
    if (std::FILE* existing = std::fopen(path, "r+")) {
        std::fclose(existing);
    } else if (errno != ENOENT) {
        return false;
    }
    const std::string temporary = std::string(path) + ".tmp";
    std::FILE* out = std::fopen(temporary.c_str(), "w");
    if (out == nullptr) return false;
    bool ok = write_settings(out);
    ok = std::fclose(out) == 0 && ok;
    ok = ok && replace(temporary.c_str(), path);
    if (!ok) std::remove(temporary.c_str());
    return ok;
}

}  // namespace tapwell

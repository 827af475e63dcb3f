// Ring: tests. The end-to-end driver: runs in the Wine prefix next to
// Tapwell.exe and operates the real program through its window. Prints one
// line per scenario and a closing "N passed, N failed"; exit status 1 when
// anything failed. Screenshot requests go to the test script as "SHOT" lines.
// With --at-144-dpi it runs the few scenarios of the second pass, which the
// script starts after raising the prefix's DPI.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "shell/window_geometry.h"
#include "tests/gui/driver_support.h"

using namespace gui;

namespace {

struct Scenario {
    std::vector<std::string> failures;
    std::string skipped;  // why the scenario could not run here
    void expect(bool ok, const std::string& what) {
        if (!ok) failures.push_back(what);
    }
};

#define EXPECT(cond) s.expect((cond), #cond)
#define EXPECT_MSG(cond, msg) s.expect((cond), std::string(#cond) + " [" + (msg) + "]")

App app;
std::string dir;
std::string log_path;
const char* const JAPANESE_TITLE = "原始多項式を探索したり，系列値を生成します。";

std::string log_text() { return read_file(log_path); }

bool ends_with(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string last_line(const std::string& text) {
    std::vector<std::string> lines = lines_of(text);
    return lines.empty() ? std::string() : lines.back();
}

int result_lines() { return static_cast<int>(lines_of(text_of(control(app, 20))).size()); }

// The enabling right after start or after End of logging.
void expect_no_log_enabling(Scenario& s) {
    for (int id : {1, 2, 4, 7, 11, 13, 20, 22, 23, 24, 29, 35, 37, 39}) EXPECT_MSG(enabled(app, id), std::to_string(id));
    for (int id : {6, 14, 15, 16, 17, 40, 41, 42}) EXPECT_MSG(!enabled(app, id), std::to_string(id));
}

void expect_idle_enabling(Scenario& s) {
    EXPECT(!enabled(app, 4));
    for (int id : {6, 14, 16, 40, 42, 11, 13, 22, 29, 35, 37, 39}) EXPECT_MSG(enabled(app, id), std::to_string(id));
    for (int id : {15, 17, 41}) EXPECT_MSG(!enabled(app, id), std::to_string(id));
}

// Log file select through the real dialog; answers the replace question.
bool choose_log_file(Scenario& s, const std::string& path, bool exists) {
    if (!click(app, 4)) {
        s.expect(false, "Log file select is enabled");
        return false;
    }
    HWND dialog = wait_save_dialog(app);
    EXPECT(dialog != nullptr);
    if (dialog == nullptr) return false;
    SendMessageA(file_name_edit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    press(dialog, IDOK);
    if (exists) {
        HWND replace = wait_message_box(app, nullptr, 5000);
        EXPECT_MSG(replace != nullptr, "replace question");
        if (replace != nullptr) press(replace, IDYES);
    }
    for (int i = 0; i < 50 && IsWindowEnabled(control(app, 4)) && wait_message_box(app, L"Open error", 1) == nullptr; ++i) {
        Sleep(100);
    }
    return true;
}

bool start_search(Scenario& s, const char* from, const char* count) {
    set_text(app, 11, from);
    set_text(app, 13, count);
    bool ok = click(app, 14);
    EXPECT_MSG(ok, std::string("start search from ") + from);
    return ok;
}

// ---- scenarios --------------------------------------------------------------

void first_start(Scenario& s) {
    DeleteFileA("Tapwell.ini");
    EXPECT(launch(app));
    EXPECT(text_of(control(app, 1)) == "English");
    EXPECT(text_of(control(app, 0)) == JAPANESE_TITLE);
    EXPECT(text_of(control(app, 14)) == "開始");
    EXPECT(text_of(app.main) == "Tapwell utility R1.00");
    EXPECT(checked(app, 22) && !checked(app, 23) && !checked(app, 24) && !checked(app, 35));
    EXPECT(text_of(control(app, 11)).empty());
    for (int id : {5, 8, 19, 25, 30, 43, 44}) EXPECT_MSG(control(app, id) == nullptr, std::to_string(id));
    expect_no_log_enabling(s);
    EXPECT(click(app, 2));  // the compact "#" size for the pictures
    screenshot(app, "window-japanese");
}

void language_toggle(Scenario& s) {
    EXPECT(click(app, 7));  // the questions speak the window's language
    HWND ask = wait_message_box(app, L"Exit");
    EXPECT(ask != nullptr && message_box_text(ask) == "本当に終了しますか？");
    if (ask != nullptr) press(ask, IDNO);
    EXPECT(running(app));
    EXPECT(click(app, 1));
    EXPECT(text_of(control(app, 1)) == "Japanese");
    EXPECT(text_of(control(app, 0)) == "Searching for primitive polynominals, Generating sequences.");
    EXPECT(text_of(control(app, 3)) == "Open the log file first.");
    EXPECT(text_of(control(app, 35)) == "Output Register's value.");
    screenshot(app, "window-english");
    EXPECT(click(app, 1));
    EXPECT(text_of(control(app, 1)) == "English");
    EXPECT(text_of(control(app, 0)) == JAPANESE_TITLE);
    EXPECT(click(app, 1));  // English from here on
    EXPECT(text_of(control(app, 1)) == "Japanese");
}

void log_cannot_be_created(Scenario& s) {
    // Held open without sharing by the driver, the file cannot be opened for appending.
    std::string locked = dir + "\\locked.log";
    write_file(locked, "held\n");
    HANDLE held = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT(held != INVALID_HANDLE_VALUE);
    choose_log_file(s, locked, true);
    HWND box = wait_message_box(app, L"Open error");
    EXPECT(box != nullptr);
    if (box != nullptr) {
        EXPECT_MSG(message_box_text(box).rfind("Can't create the output file.", 0) == 0, message_box_text(box));
        press(box, IDOK);
    }
    CloseHandle(held);
    expect_no_log_enabling(s);
    EXPECT(read_file(locked) == "held\n");
}

void log_existing_file_appended(Scenario& s) {
    write_file(log_path, "earlier line\r\n");
    choose_log_file(s, log_path, true);
    EXPECT(wait_message_box(app, L"Open error", 300) == nullptr);
    expect_idle_enabling(s);
}

void primitive_search_degree_4(Scenario& s) {
    start_search(s, "10011", "0");
    EXPECT(wait_idle(app));
    EXPECT(text_of(control(app, 20)) == "10011\r\n11001\r\n");
    std::string log = log_text();
    EXPECT_MSG(log == "earlier line\nn=4, from=10011\n10011\n11001\nFinished. found=2\n", log);
    expect_idle_enabling(s);
}

void primitive_search_degree_11(Scenario& s) {
    start_search(s, "100000000001", "0");
    EXPECT(wait_idle(app));
    std::vector<std::string> shown = lines_of(text_of(control(app, 20)));
    EXPECT_MSG(shown.size() == 70, std::to_string(shown.size()));
    EXPECT(!shown.empty() && shown[0] == "100000000101\r");
    EXPECT_MSG(last_line(log_text()) == "Finished. found=176", last_line(log_text()));
    screenshot(app, "window-search");
}

// A degree-32 search finds millions of polynomials a second, so it logs into a
// file of its own that is removed afterwards.
void status_report_and_abort(Scenario& s) {
    std::string big = dir + "\\abort.log";
    EXPECT(click(app, 6));
    DeleteFileA(big.c_str());
    choose_log_file(s, big, false);
    start_search(s, "100000000000000000000000000000001", "0");
    Sleep(100);
    EXPECT(!enabled(app, 14) && enabled(app, 15) && enabled(app, 17) && !enabled(app, 41));
    EXPECT(enabled(app, 22) && enabled(app, 39));  // the generation group stays usable during a search
    EXPECT(click(app, 17));  // Status report: the job goes on
    EXPECT(click(app, 15));
    HWND ask = wait_message_box(app, L"Abort");
    EXPECT(ask != nullptr && message_box_text(ask) == "Really abort?");
    if (ask != nullptr) press(ask, IDNO);
    Sleep(100);
    EXPECT(!enabled(app, 14) && enabled(app, 15));
    EXPECT(click(app, 15));
    ask = wait_message_box(app, L"Abort");
    EXPECT(ask != nullptr);
    if (ask != nullptr) press(ask, IDYES);
    EXPECT(wait_idle(app, 10000));
    expect_idle_enabling(s);
    screenshot(app, "window-aborted");
    EXPECT(click(app, 6));  // closes the log, so the whole of it is on disk
    std::string added = read_file(big);
    std::string last = last_line(added);
    EXPECT_MSG(added.rfind("n=32, from=100000000000000000000000000000011\n", 0) == 0, added.substr(0, 60));
    EXPECT_MSG(last.rfind("aborted at 1", 0) == 0 && last.find(", found=") == 43, last);
    EXPECT(added.find("Finished.") == std::string::npos);
    // "No" went on: the abort text is there once, at the end.
    EXPECT(added.find("aborted") == added.size() - last.size() - 1);
    std::printf("    (abort.log: %zu bytes, last line \"%s\")\n", added.size(), last.c_str());
    DeleteFileA(big.c_str());
    choose_log_file(s, log_path, true);
    expect_idle_enabling(s);
}

// The job ends by itself while the Abort question is open: Yes then writes nothing.
void abort_after_the_job_ended(Scenario& s) {
    std::string late = dir + "\\late.log";
    EXPECT(click(app, 6));
    DeleteFileA(late.c_str());
    choose_log_file(s, late, false);
    start_search(s, "10000000000000000000000000001", "0");  // degree 28: a few seconds
    EXPECT(click(app, 15));
    HWND ask = wait_message_box(app, L"Abort");
    EXPECT(ask != nullptr);
    bool ended = false;
    for (int i = 0; i < 1200 && !ended; ++i) {
        ended = enabled(app, 14);
        if (!ended) Sleep(50);
    }
    EXPECT(ended);  // the end routine ran although the question is still open
    if (ask != nullptr) press(ask, IDYES);
    EXPECT(wait_idle(app));
    EXPECT(click(app, 6));
    std::string log = read_file(late);
    EXPECT_MSG(last_line(log).rfind("Finished. found=", 0) == 0, last_line(log));
    EXPECT(log.find("aborted") == std::string::npos);
    DeleteFileA(late.c_str());
    choose_log_file(s, log_path, true);
    expect_idle_enabling(s);
}

void pair_search(Scenario& s) {
    start_search(s, "100101", "0");
    EXPECT(wait_idle(app));
    EXPECT(click(app, 16));
    EXPECT(wait_idle(app));
    std::string log = log_text();
    EXPECT_MSG(last_line(log) == "Completed. found = 12", last_line(log));
    EXPECT(log.find("Seaching for Preferred pair Tapwell. n=5, No. of polynominal=6\n100101, 101111\n") != std::string::npos);
    EXPECT(result_lines() == 12);

    start_search(s, "10000011", "0");
    EXPECT(wait_idle(app));
    EXPECT(click(app, 16));
    EXPECT(wait_idle(app));
    log = log_text();
    EXPECT_MSG(last_line(log) == "Completed. found = 90", last_line(log));
    EXPECT_MSG(result_lines() == 30, std::to_string(result_lines()));
}

struct GenerationCase {
    const char* name;
    int mode_button;
    bool registers;
    const char* width;
    const char* list;
    const char* expected_log;  // everything the run appends
};

void generation_modes(Scenario& s) {
    const char* one = "10011\r\n0001";
    const char* two = "10011\r\n0001\r\n11001\r\n0001";
    const GenerationCase cases[] = {
        {"serial", 22, false, "1", one,
         "polynominal=10011, initial=1\n1\n0\n0\n0\n1\n0\n0\n1\n1\n0\n1\n0\n1\n1\n1\nCompleted.\n"},
        {"serial registers", 22, true, "1", one,
         "polynominal=10011, initial=1\n1, 1\n0, 8\n0, 4\n0, 2\n1, 9\n0, 12\n0, 6\n1, 11\n1, 5\n0, 10\n1, 13\n0, "
         "14\n1, 15\n1, 7\n1, 3\nCompleted.\n"},
        {"parallel", 23, false, "2", two,
         "polynominal bit0=10011, initial=1\npolynominal bit1=11001, initial=1\n3\n0\n0\n0\n3\n2\n2\n3\n1\n2\n1\n2\n3\n1\n1\n"
         "Completed.\n"},
        {"Gold", 24, false, "4", two,
         "polynominal_A=10011, initial=1\npolynominal_B=11001, initial=1\n0\n6\n15\n6\n0\n11\n7\n3\n8\n13\n11\n1\n12\n14\n13\n"
         "Completed.\n"},
    };
    for (const GenerationCase& c : cases) {
        size_t before = log_text().size();
        EXPECT(click(app, c.mode_button));
        EXPECT_MSG(checked(app, c.mode_button), c.name);
        if (checked(app, 35) != c.registers) EXPECT(click(app, 35));
        EXPECT_MSG(checked(app, 35) == c.registers, c.name);
        set_text(app, 29, c.width);
        set_text(app, 37, "0");
        set_text(app, 39, c.list);
        EXPECT_MSG(click(app, 40), c.name);
        EXPECT(wait_idle(app));
        std::string added = log_text().substr(before);
        EXPECT_MSG(added == c.expected_log, std::string(c.name) + ": " + added);
        EXPECT_MSG(result_lines() == 15, c.name);
    }
    int marks = checked(app, 22) + checked(app, 23) + checked(app, 24);
    EXPECT(marks == 1 && checked(app, 24));
}

void generation_abort(Scenario& s) {
    size_t before = log_text().size();
    EXPECT(click(app, 22));
    if (checked(app, 35)) EXPECT(click(app, 35));
    set_text(app, 29, "1");
    set_text(app, 37, "0");  // the whole period of a degree-32 register: billions of values
    set_text(app, 39, "100000000000000000000000000000001\r\n1");
    EXPECT(click(app, 40));
    Sleep(100);
    EXPECT(enabled(app, 41) && !enabled(app, 40) && !enabled(app, 15) && !enabled(app, 17));
    EXPECT(enabled(app, 11) && !enabled(app, 22) && !enabled(app, 39));  // the search group's edits stay usable
    EXPECT(click(app, 41));
    HWND ask = wait_message_box(app, L"Abort");
    EXPECT(ask != nullptr);
    if (ask != nullptr) press(ask, IDYES);
    EXPECT(wait_idle(app, 10000));
    std::string added = log_text().substr(before);
    EXPECT_MSG(added.rfind("polynominal=100000000000000000000000000000001, initial=1\n", 0) == 0, added.substr(0, 60));
    EXPECT_MSG(last_line(added) == "aborted.", last_line(added));
    EXPECT(added.find("Completed.") == std::string::npos);
    expect_idle_enabling(s);
}

void correlation(Scenario& s) {
    size_t before = log_text().size();
    set_text(app, 39, "10011\r\n1\r\n11001\r\n1");
    EXPECT(click(app, 42));
    EXPECT(wait_idle(app));
    std::vector<std::string> added = lines_of(log_text().substr(before));
    EXPECT_MSG(added.size() == 18, std::to_string(added.size()));
    if (added.size() == 18) {
        EXPECT(added[0] == "polynominal_A=10011" && added[1] == "polynominal_B=11001");
        EXPECT(added[2] == "dt=0, r= -1" && added[16] == "dt=14, r= -5");
        EXPECT_MSG(added[17] == "Completed. sum|r+1| = 48", added[17]);
    }
    EXPECT(result_lines() == 15);
}

void parameter_errors(Scenario& s) {
    std::string log = log_text();
    std::string shown = text_of(control(app, 20));
    set_text(app, 29, "5");  // wider than the degree-4 register
    EXPECT(click(app, 22));
    EXPECT(click(app, 40));
    EXPECT(wait_idle(app));
    start_search(s, "abc", "0");
    EXPECT(wait_idle(app));
    EXPECT(log_text() == log);                       // nothing logged
    EXPECT(text_of(control(app, 20)) == shown);      // the result box keeps the last result
    expect_idle_enabling(s);
}

void end_of_logging(Scenario& s) {
    EXPECT(click(app, 6));
    expect_no_log_enabling(s);
    // Closed: the driver can now hold it exclusively.
    HANDLE h = CreateFileA(log_path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT(h != INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

RECT saved_rect;

void exit_no_then_yes(Scenario& s) {
    EXPECT(click(app, 24));
    if (!checked(app, 35)) EXPECT(click(app, 35));
    set_text(app, 37, "十");  // typed Japanese is stored as code page 932 bytes
    SetWindowPos(app.main, nullptr, 60, 50, 640, 780, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    GetWindowRect(app.main, &saved_rect);
    EXPECT(click(app, 7));
    HWND ask = wait_message_box(app, L"Exit");
    EXPECT(ask != nullptr && message_box_text(ask) == "Really exit?");
    if (ask != nullptr) press(ask, IDNO);
    Sleep(500);
    EXPECT(running(app) && IsWindowVisible(app.main));
    EXPECT(click(app, 7));
    ask = wait_message_box(app, L"Exit");
    EXPECT(ask != nullptr);
    if (ask != nullptr) press(ask, IDYES);
    EXPECT(wait_exit(app, 15000) == 0);
    std::vector<std::string> ini = lines_of(read_file("Tapwell.ini"));
    EXPECT_MSG(ini.size() == 32, std::to_string(ini.size()));
    if (ini.size() == 32) {
        EXPECT(ini[0] == "20" && ini[1] == "1");
        EXPECT_MSG(ini[2] == std::to_string(saved_rect.left) && ini[3] == std::to_string(saved_rect.top) &&
                       ini[4] == std::to_string(saved_rect.right) && ini[5] == std::to_string(saved_rect.bottom),
                   ini[2] + "," + ini[3] + "," + ini[4] + "," + ini[5]);
        EXPECT(ini[11] == "0" && ini[14] == "2" && ini[15] == "1");
        EXPECT(ini[21] == "10");
        EXPECT(ini[22] == log_path);
        EXPECT(ini[23] == "abc" && ini[24] == "0" && ini[26] == "5");
        EXPECT_MSG(ini[28] == "\x8f\x5c", ini[28]);  // 十 in code page 932 (its second byte is a backslash)
        EXPECT_MSG(ini[31] == "Invalid parameter\a", ini[31]);
    }
}

void restart_restores(Scenario& s) {
    EXPECT(launch(app));
    EXPECT(text_of(control(app, 1)) == "Japanese");
    EXPECT(text_of(control(app, 0)) == "Searching for primitive polynominals, Generating sequences.");
    EXPECT(text_of(control(app, 11)) == "abc" && text_of(control(app, 29)) == "5");
    EXPECT(text_of(control(app, 37)) == "十");
    EXPECT(text_of(control(app, 39)) == "10011\r\n1\r\n11001\r\n1");
    EXPECT(checked(app, 24) && !checked(app, 22) && checked(app, 35));
    RECT r;
    GetWindowRect(app.main, &r);
    EXPECT_MSG(r.left == saved_rect.left && r.top == saved_rect.top && r.right == saved_rect.right &&
                   r.bottom == saved_rect.bottom,
               std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                   std::to_string(r.bottom));
    expect_no_log_enabling(s);
}

// The cell the window measured from its default font, measured again the same way.
tapwell::CellSize window_cell() {
    TEXTMETRICW tm{};
    HDC dc = GetDC(app.main);
    GetTextMetricsW(dc, &tm);
    ReleaseDC(app.main, dc);
    return tapwell::cell_size_from_metrics(tm.tmAveCharWidth, tm.tmPitchAndFamily, tm.tmHeight,
                                           tm.tmExternalLeading);
}

void default_size(Scenario& s) {
    tapwell::CellSize cell = window_cell();
    tapwell::WindowSize want = tapwell::default_window_size(cell);
    // No larger than the system lets a window be: at 144 DPI the sheet is
    // taller than this screen.
    want.width = std::min(want.width, GetSystemMetrics(SM_CXMAXTRACK));
    want.height = std::min(want.height, GetSystemMetrics(SM_CYMAXTRACK));
    RECT before, after;
    GetWindowRect(app.main, &before);
    EXPECT(click(app, 2));
    Sleep(300);
    GetWindowRect(app.main, &after);
    EXPECT(after.left == before.left && after.top == before.top);
    EXPECT_MSG(after.right - after.left == want.width && after.bottom - after.top == want.height,
               std::to_string(after.right - after.left) + "x" + std::to_string(after.bottom - after.top) + " want " +
                   std::to_string(want.width) + "x" + std::to_string(want.height));
}

RECT screen_rect(int id) {
    RECT r{};
    GetWindowRect(control(app, id), &r);
    return r;
}

// A window smaller than the sheet scrolls it in whole cells, controls and all;
// growing the window brings a scrolled sheet back.
void scrolling(Scenario& s) {
    tapwell::CellSize cell = window_cell();
    RECT window;
    GetWindowRect(app.main, &window);
    SetWindowPos(app.main, nullptr, 0, 0, 300, 300, SWP_NOMOVE | SWP_NOZORDER);
    Sleep(200);
    RECT start = screen_rect(11);
    SendMessageW(app.main, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageW(app.main, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageW(app.main, WM_HSCROLL, SB_LINERIGHT, 0);
    RECT moved = screen_rect(11);
    EXPECT_MSG(moved.top == start.top - 2 * cell.line_height && moved.left == start.left - cell.char_width,
               std::to_string(start.top - moved.top) + "," + std::to_string(start.left - moved.left));
    SendMessageW(app.main, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT(screen_rect(11).top == start.top - cell.line_height);
    SendMessageW(app.main, WM_VSCROLL, SB_THUMBPOSITION, 0);  // changes nothing
    EXPECT(screen_rect(11).top == start.top - cell.line_height);
    SendMessageW(app.main, WM_VSCROLL, SB_BOTTOM, 0);
    RECT bottom = screen_rect(11);
    EXPECT(bottom.top < start.top - cell.line_height);
    // Growing past the sheet's end brings it back to its natural place.
    SetWindowPos(app.main, nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    Sleep(200);
    RECT back = screen_rect(11);
    EXPECT_MSG(back.top == start.top && back.left == start.left,
               std::to_string(back.top - start.top) + "," + std::to_string(back.left - start.left));
}

void close_during_job(Scenario& s) {
    std::string big = dir + "\\close.log";
    DeleteFileA(big.c_str());
    choose_log_file(s, big, false);
    start_search(s, "100000000000000000000000000000001", "0");
    Sleep(200);
    EXPECT(!enabled(app, 14));
    EXPECT(click(app, 17));
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
    std::string log = read_file(big);
    EXPECT(!log.empty() && ends_with(log, "\n"));
    std::string last = last_line(log);
    EXPECT_MSG((last.size() == 33 && last.find_first_not_of("01") == std::string::npos) ||
                   last.rfind("n=32, from=", 0) == 0,
               last);
    DeleteFileA(big.c_str());
    std::vector<std::string> ini = lines_of(read_file("Tapwell.ini"));
    EXPECT(ini.size() == 32);
    if (ini.size() == 32) {
        EXPECT(ini[11] == "0");
        EXPECT_MSG(ini[31].rfind("found=", 0) == 0 && ini[31].find(", checking 1") != std::string::npos, ini[31]);
    }
}

// Degree 20 has no preferred pairs, so the pair search of its 24000 polynomials
// runs long and logs next to nothing.
void pair_search_status_abort_and_close(Scenario& s) {
    std::string pairs = dir + "\\pairs.log";
    DeleteFileA(pairs.c_str());
    EXPECT(launch(app));
    choose_log_file(s, pairs, false);
    // Degree 21: 65000 polynomials in the list, some two thousand million pairs
    // to classify, far longer than the presses below.
    start_search(s, "1000000000000000000001", "0");
    EXPECT(wait_idle(app));
    EXPECT(click(app, 16));
    Sleep(300);
    EXPECT(!enabled(app, 16) && enabled(app, 15) && enabled(app, 17));
    EXPECT(click(app, 17));
    EXPECT(click(app, 15));
    HWND ask = wait_message_box(app, L"Abort");
    EXPECT(ask != nullptr);
    if (ask != nullptr) press(ask, IDYES);
    EXPECT(wait_idle(app, 10000));
    EXPECT(click(app, 16));  // again: the percentage starts from 0 once more
    Sleep(300);
    EXPECT(click(app, 17));
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
    std::vector<std::string> log = lines_of(read_file(pairs));
    EXPECT(log.size() >= 4);
    if (log.size() >= 4) {
        const std::string header = "Seaching for Preferred pair Tapwell. n=21, No. of polynominal=65000";
        // The first run: its header, the pairs it found, its abort text; the
        // second, closed while it ran: its header and the pairs found so far,
        // and nothing else (no end, no abort text).
        const auto first = std::find(log.begin(), log.end(), header);
        const auto second = std::find(first == log.end() ? log.end() : first + 1, log.end(), header);
        EXPECT(first != log.end() && second != log.end());
        if (second != log.end()) {
            EXPECT_MSG((second - 1)->rfind("aborted. found = ", 0) == 0, *(second - 1));
            for (auto line = second + 1; line != log.end(); ++line) {
                EXPECT_MSG(line->find_first_not_of("01, ") == std::string::npos, *line);
            }
        }
    }
    std::vector<std::string> ini = lines_of(read_file("Tapwell.ini"));
    EXPECT(ini.size() == 32);
    if (ini.size() == 32) {
        const std::string& status = ini[31];
        EXPECT_MSG(status.rfind("found=", 0) == 0 && status.find(", checked ") != std::string::npos && status.size() >= 2 &&
                       status.compare(status.size() - 2, 2, "%\a") == 0 && status.find('.') == status.size() - 5,
                   status);
    }
    DeleteFileA(pairs.c_str());
}

void minimised_window_reopens_on_screen(Scenario& s) {
    EXPECT(launch(app));
    ShowWindow(app.main, SW_MINIMIZE);
    Sleep(500);
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
    std::vector<std::string> ini = lines_of(read_file("Tapwell.ini"));
    EXPECT(ini.size() == 32 && std::stoi(ini[2]) > -10000 && std::stoi(ini[3]) > -10000);
    EXPECT(launch(app));
    RECT r;
    GetWindowRect(app.main, &r);
    EXPECT_MSG(r.left > -100 && r.top > -100 && r.left < 1280 && r.top < 1024, std::to_string(r.left));
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
}

void rect_on_no_monitor(Scenario& s) {
    std::vector<std::string> ini = lines_of(read_file("Tapwell.ini"));
    ini[2] = "20000", ini[3] = "20000", ini[4] = "20400", ini[5] = "20500";
    std::string text;
    for (const std::string& l : ini) text += l + "\n";
    write_file("Tapwell.ini", text);
    EXPECT(launch(app));
    RECT r;
    GetWindowRect(app.main, &r);
    EXPECT_MSG(r.left < 1280 && r.top < 1024, std::to_string(r.left));
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
}

void damaged_settings_files(Scenario& s) {
    const std::string files[] = {
        "",
        "20\n1\n",
        "20\n" + std::string(100000, '9') + "\n-99999999999\n1\n2\n3\n",
        std::string("\x01\xff\x00\x1a\x07garbage\n10\n", 17) + std::string(100000, '1') + "\n\x81\n",
        "-5\n-5\n",
    };
    int k = 0;
    for (const std::string& f : files) {
        write_file("Tapwell.ini", f);
        bool up = launch(app);
        EXPECT_MSG(up, "file " + std::to_string(k));
        if (up) {
            EXPECT_MSG(text_of(control(app, 1)) == "English" || text_of(control(app, 1)) == "Japanese",
                       std::to_string(k));
            PostMessageW(app.main, WM_CLOSE, 0, 0);
            EXPECT_MSG(wait_exit(app, 15000) == 0, "file " + std::to_string(k));
        }
        kill_if_running(app);
        ++k;
    }
}

void long_stored_log_path(Scenario& s) {
    std::string ini = "20\n1\n";
    ini += "0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n10\nC:\\" + std::string(1500, 'a') + "\n";
    write_file("Tapwell.ini", ini);
    EXPECT(launch(app));
    EXPECT(click(app, 4));
    HWND dialog = wait_save_dialog(app);
    EXPECT(dialog != nullptr);
    if (dialog != nullptr) {
        EXPECT_MSG(text_of(file_name_edit(dialog)).empty(), text_of(file_name_edit(dialog)).substr(0, 40));
        press(dialog, IDCANCEL);
    }
    Sleep(300);
    expect_no_log_enabling(s);
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
}

void started_from_another_directory(Scenario& s) {
    std::string before = read_file("Tapwell.ini");
    CreateDirectoryA("elsewhere", nullptr);
    DeleteFileA("elsewhere\\Tapwell.ini");
    EXPECT(launch(app, "elsewhere"));
    EXPECT(text_of(control(app, 1)) == "English");  // no settings there: a first start
    set_text(app, 11, "10011");
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
    std::vector<std::string> ini = lines_of(read_file("elsewhere\\Tapwell.ini"));
    EXPECT(ini.size() == 32 && ini[23] == "10011");
    EXPECT(read_file("Tapwell.ini") == before);
}

void read_only_settings_file(Scenario& s) {
    write_file("Tapwell.ini", "20\n1\n");
    SetFileAttributesA("Tapwell.ini", FILE_ATTRIBUTE_READONLY);
    // Under Wine run as root the attribute does not bind: root may write any file.
    std::FILE* probe = std::fopen("Tapwell.ini", "r+");
    const bool binds = probe == nullptr;
    if (probe != nullptr) std::fclose(probe);
    EXPECT(launch(app));
    EXPECT(text_of(control(app, 1)) == "Japanese");
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
    SetFileAttributesA("Tapwell.ini", FILE_ATTRIBUTE_NORMAL);
    if (binds) EXPECT(read_file("Tapwell.ini") == "20\n1\n");
    EXPECT(!file_exists("Tapwell.ini.tmp"));
}

// The test script mounts a small file system of its own at "full" when it
// runs as root. Filled to the last byte, it cannot take the new settings: the
// earlier Tapwell.ini must stay whole and the program still end.
// Fills the small file system under full\ to its last byte with one file.
bool fill_up(const char* path) {
    HANDLE filler = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (filler == INVALID_HANDLE_VALUE) return false;
    static const char block[4096] = {};
    for (DWORD size = sizeof block; size != 0; size /= 2) {
        DWORD written = 0;
        while (WriteFile(filler, block, size, &written, nullptr) && written == size) {
        }
    }
    CloseHandle(filler);
    return true;
}

// A log on a full file system: the generation stops, a "Write error" box and
// the status line say why, the window is as End of logging leaves it (the
// settings keep the path), and another log can be chosen and used.
void log_on_a_full_disk(Scenario& s) {
    if (GetFileAttributesA("full") == INVALID_FILE_ATTRIBUTES) {
        s.skipped = "no small file system at full\\ (the test script mounts one only as root)";
        return;
    }
    EXPECT(fill_up("full\\filler"));
    EXPECT(launch(app));
    if (text_of(control(app, 1)) == "English") EXPECT(click(app, 1));  // the English texts
    const std::string full_log = current_directory() + "\\full\\log.txt";
    DeleteFileA(full_log.c_str());
    choose_log_file(s, full_log, false);
    expect_idle_enabling(s);
    // A generation of 2^32 - 1 values: its first block cannot be written.
    EXPECT(click(app, 22));
    set_text(app, 29, "1");
    set_text(app, 37, "0");
    set_text(app, 39, "100000000000000000000000000000011\r\n1");
    EXPECT(click(app, 40));
    HWND box = wait_message_box(app, L"Write error", 15000);
    EXPECT_MSG(box != nullptr, "a Write error box");
    if (box != nullptr) {
        const std::string text = message_box_text(box);
        EXPECT_MSG(text.rfind("Log write error: ", 0) == 0 && text.size() > 17, text);
        screenshot(app, "log-write-error");
        press(box, IDOK);
    }
    Sleep(300);
    expect_no_log_enabling(s);
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
    std::vector<std::string> ini = lines_of(read_file("Tapwell.ini"));
    EXPECT(ini.size() == 32);
    if (ini.size() == 32) {
        EXPECT_MSG(ini[22] == full_log, ini[22]);
        EXPECT_MSG(ini[31].rfind("Log write error: ", 0) == 0, ini[31]);
    }
    const std::string content = read_file(full_log);
    EXPECT_MSG(content.find("Completed.") == std::string::npos, "no final text in the log");
    DeleteFileA(full_log.c_str());
    DeleteFileA("full\\filler");

    // Another log, then a search that runs to its end.
    EXPECT(launch(app));
    const std::string next_log = dir + "\\after_full.log";
    DeleteFileA(next_log.c_str());
    choose_log_file(s, next_log, false);
    expect_idle_enabling(s);
    if (start_search(s, "10011", "0")) EXPECT(wait_idle(app));
    EXPECT_MSG(read_file(next_log) == "n=4, from=10011\n10011\n11001\nFinished. found=2\n", read_file(next_log));
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
    DeleteFileA(next_log.c_str());
}

void settings_save_on_a_full_disk(Scenario& s) {
    if (GetFileAttributesA("full") == INVALID_FILE_ATTRIBUTES) {
        s.skipped = "no small file system at full\\ (the test script mounts one only as root)";
        return;
    }
    const std::string earlier = read_file("Tapwell.ini");
    write_file("full\\Tapwell.ini", earlier);
    EXPECT(fill_up("full\\filler"));
    EXPECT(launch(app, "full"));
    EXPECT(text_of(control(app, 1)) == "Japanese");  // the earlier settings were read
    set_text(app, 11, "1000000000000000000000000000000001");
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
    EXPECT(read_file("full\\Tapwell.ini") == earlier);
    EXPECT(!file_exists("full\\Tapwell.ini.tmp"));
    DeleteFileA("full\\filler");
    DeleteFileA("full\\Tapwell.ini");
}

// ---- what Explorer and the program loader read ----------------------------

// The version Explorer shows is the project's, the one tapwell-cli reports.
void version_resource(Scenario& s) {
    VersionResource v = read_version_resource(dir + "\\Tapwell.exe");
    EXPECT(v.found);
    const std::string version = TAPWELL_VERSION;
    const std::string numbers =
        std::to_string(v.numbers[0]) + "." + std::to_string(v.numbers[1]) + "." + std::to_string(v.numbers[2]);
    EXPECT_MSG(numbers == version && v.numbers[3] == 0, numbers + "." + std::to_string(v.numbers[3]));
    EXPECT_MSG(v.product_version == version && v.file_version == version, v.product_version + ", " + v.file_version);
    EXPECT_MSG(v.product_name == "Tapwell", v.product_name);
    EXPECT_MSG(v.description.rfind("Tapwell", 0) == 0, v.description);
    EXPECT_MSG(v.copyright.rfind("Copyright (C) ", 0) == 0, v.copyright);
    std::printf("    (Tapwell.exe: %s %s, \"%s\", %s)\n", v.product_name.c_str(), v.product_version.c_str(),
                v.description.c_str(), v.copyright.c_str());
}

// The manifest as the loader takes it: a text it can parse, with the
// Windows versions the program knows and system DPI awareness.
void manifest(Scenario& s) {
    ManifestSettings m = read_manifest(dir + "\\Tapwell.exe");
    EXPECT(m.text.find("level=\"asInvoker\"") != std::string::npos);
    for (const char* os : {"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}) {
        EXPECT_MSG(m.text.find(os) != std::string::npos, os);
    }
    EXPECT_MSG(m.dpi_aware == "true", m.dpi_aware);
    EXPECT_MSG(m.dpi_awareness == "system", m.dpi_awareness);
}

// ---- the pass at 144 DPI ---------------------------------------------------
// The script runs the driver a second time with --at-144-dpi after setting
// the prefix's LogPixels; these files carry what the first pass saw at 96 DPI.
const char* const CELL_AT_96_DPI = "cell-96dpi.txt";
const char* const SETTINGS_AT_96_DPI = "settings-96dpi.ini";

void keep_for_the_144_dpi_pass(Scenario& s) {
    DeleteFileA("Tapwell.ini");
    EXPECT(launch(app));
    tapwell::CellSize cell = window_cell();
    write_file(CELL_AT_96_DPI, std::to_string(cell.char_width) + " " + std::to_string(cell.line_height) + "\n");
    // Near the bottom right corner of the screen, where a rectangle that was
    // taken for one in other units would run off it.
    SetWindowPos(app.main, nullptr, 760, 520, 500, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    RECT r;
    GetWindowRect(app.main, &r);
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
    std::vector<std::string> ini = lines_of(read_file("Tapwell.ini"));
    EXPECT(ini.size() == 32 && ini[2] == std::to_string(r.left) && ini[5] == std::to_string(r.bottom));
    EXPECT(CopyFileA("Tapwell.ini", SETTINGS_AT_96_DPI, FALSE));
}

tapwell::CellSize cell_at_96_dpi() {
    tapwell::CellSize cell{0, 0};
    std::sscanf(read_file(CELL_AT_96_DPI).c_str(), "%d %d", &cell.char_width, &cell.line_height);
    return cell;
}

void first_start_at_144_dpi(Scenario& s) {
    DeleteFileA("Tapwell.ini");
    EXPECT(launch(app));
    EXPECT_MSG(window_dpi(app.main) == 144, std::to_string(window_dpi(app.main)));
    const tapwell::CellSize before = cell_at_96_dpi(), now = window_cell();
    std::printf("    (cell at 96 DPI %dx%d pixels, at 144 DPI %dx%d)\n", before.char_width, before.line_height,
                now.char_width, now.line_height);
    // The height of the system font follows the DPI everywhere; its width does
    // not under Wine, whose System font has a fixed width.
    EXPECT_MSG(before.line_height > 0 && now.line_height * 4 >= before.line_height * 5,
               std::to_string(now.line_height) + " after " + std::to_string(before.line_height));
    EXPECT(now.char_width >= before.char_width);
    EXPECT(text_of(control(app, 0)) == JAPANESE_TITLE);
    EXPECT(click(app, 2));
    screenshot(app, "window-japanese-144dpi");
    EXPECT(click(app, 1));
    EXPECT(text_of(control(app, 1)) == "Japanese");
    screenshot(app, "window-english-144dpi");
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
}

void rect_saved_at_96_dpi(Scenario& s) {
    EXPECT(CopyFileA(SETTINGS_AT_96_DPI, "Tapwell.ini", FALSE));
    std::vector<std::string> ini = lines_of(read_file("Tapwell.ini"));
    EXPECT(ini.size() == 32);
    if (ini.size() != 32) return;
    const RECT saved = {std::stoi(ini[2]), std::stoi(ini[3]), std::stoi(ini[4]), std::stoi(ini[5])};
    EXPECT(launch(app));
    RECT r;
    GetWindowRect(app.main, &r);
    EXPECT_MSG(EqualRect(&r, &saved), std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                                          std::to_string(r.right) + "," + std::to_string(r.bottom));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HMONITOR on = MonitorFromRect(&r, MONITOR_DEFAULTTONULL);
    EXPECT(on != nullptr && GetMonitorInfoW(on, &monitor));
    RECT inside;
    EXPECT(IntersectRect(&inside, &r, &monitor.rcWork) && EqualRect(&inside, &r));
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
    EXPECT(lines_of(read_file("Tapwell.ini")) == ini);  // stored again as it came
}

void default_size_at_144_dpi(Scenario& s) {
    EXPECT(launch(app));
    default_size(s);
    PostMessageW(app.main, WM_CLOSE, 0, 0);
    EXPECT(wait_exit(app, 15000) == 0);
}

}  // namespace

int main(int argc, char** argv) {
    // Coordinates and font metrics in the system's own pixels, as the DPI-aware
    // program sees them.
    SetProcessDPIAware();
    const bool at_144_dpi = argc > 1 && std::string(argv[1]) == "--at-144-dpi";
    dir = current_directory();
    log_path = dir + "\\tapwell.log";
    struct Entry {
        const char* name;
        void (*run)(Scenario&);
    };
    const Entry scenarios[] = {
        {"first start: Japanese texts and enabling", first_start},
        {"language toggle to English and back", language_toggle},
        {"log file that cannot be created: Open error", log_cannot_be_created},
        {"log file select: existing file appended to", log_existing_file_appended},
        {"primitive search 10011, count 0", primitive_search_degree_4},
        {"degree-11 search: 70 result lines", primitive_search_degree_11},
        {"degree-32 search: Status report, Abort No, Abort Yes", status_report_and_abort},
        {"Abort answered Yes after the search ended by itself", abort_after_the_job_ended},
        {"P.P. search on degree 5 and 7", pair_search},
        {"generation: serial, serial with registers, parallel, Gold", generation_modes},
        {"generation Abort", generation_abort},
        {"correlation", correlation},
        {"parameter errors log nothing", parameter_errors},
        {"End of logging", end_of_logging},
        {"Exit: No goes on, Yes saves and ends", exit_no_then_yes},
        {"restart: texts, mode, check box, language, rectangle", restart_restores},
        {"\"#\" default size", default_size},
        {"scrolling a small window and growing it back", scrolling},
        {"closing the window during a search", close_during_job},
        {"P.P. search: Status report, Abort, closing during the search", pair_search_status_abort_and_close},
        {"minimised window reopens on screen", minimised_window_reopens_on_screen},
        {"saved rectangle on no monitor", rect_on_no_monitor},
        {"damaged settings files", damaged_settings_files},
        {"stored log path of 1500 characters", long_stored_log_path},
        {"started from another directory: its own Tapwell.ini", started_from_another_directory},
        {"read-only settings file", read_only_settings_file},
        {"version resource: the project's version, product, description, copyright", version_resource},
        {"manifest: Windows 7 to 11, system DPI awareness", manifest},
        {"settings save on a full file system keeps the earlier file", settings_save_on_a_full_disk},
        {"log on a full file system: Write error, the state of End of logging, another log", log_on_a_full_disk},
        {"cell and a saved rectangle kept for the pass at 144 DPI", keep_for_the_144_dpi_pass},
    };
    const Entry scenarios_at_144_dpi[] = {
        {"144 DPI: first start, the cell grown with the font, both languages", first_start_at_144_dpi},
        {"144 DPI: a rectangle saved at 96 DPI is restored on screen", rect_saved_at_96_dpi},
        {"144 DPI: \"#\" default size from the grown cell", default_size_at_144_dpi},
    };
    int passed = 0, failed = 0;
    const auto run = [&](const Entry& e) {
        Scenario s;
        e.run(s);
        if (!s.skipped.empty() && s.failures.empty()) {
            std::printf("SKIP %s: %s\n", e.name, s.skipped.c_str());
        } else if (s.failures.empty()) {
            ++passed;
            std::printf("PASS %s\n", e.name);
        } else {
            ++failed;
            std::printf("FAIL %s\n", e.name);
            for (const std::string& f : s.failures) std::printf("    %s\n", f.c_str());
        }
        std::fflush(stdout);
    };
    if (at_144_dpi) {
        for (const Entry& e : scenarios_at_144_dpi) run(e);
    } else {
        for (const Entry& e : scenarios) run(e);
    }
    kill_if_running(app);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}

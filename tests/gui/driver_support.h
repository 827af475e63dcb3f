// Ring: tests. What the end-to-end driver needs to operate Tapwell.exe from
// outside, the way a user would: start it, find its window and dialogs by
// class, press buttons, type into edits, read texts and files.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace gui {

struct App {
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
};

// Starts Tapwell.exe of the current directory, in that directory or in
// working_dir, and waits for its main window.
bool launch(App& app, const char* working_dir = nullptr);
// Waits for the process to end; its exit code, or -1 on time-out.
int wait_exit(App& app, DWORD timeout_ms);
void kill_if_running(App& app);
bool running(const App& app);

HWND control(const App& app, int id);
bool enabled(const App& app, int id);
bool checked(const App& app, int id);
std::string text_of(HWND window);  // UTF-8
std::wstring wide_text_of(HWND window);
void set_text(const App& app, int id, const std::string& ascii);
// Presses an enabled button as its click would (a WM_COMMAND to the main
// window). False when the button is disabled or missing.
bool click(const App& app, int id);
// Waits until both start buttons are enabled again (a job has ended).
bool wait_idle(const App& app, DWORD timeout_ms = 30000);

// Top-level dialogs (#32770) of the program, newest match first.
HWND wait_dialog(const App& app, const std::function<bool(HWND)>& match, DWORD timeout_ms = 10000);
HWND wait_message_box(const App& app, const wchar_t* caption, DWORD timeout_ms = 10000);
HWND wait_save_dialog(const App& app, DWORD timeout_ms = 10000);
std::string message_box_text(HWND box);
void press(HWND dialog, int button_id);
HWND file_name_edit(HWND dialog);

// Files, with the CR of CR LF dropped so texts compare with "\n".
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
std::vector<std::string> lines_of(const std::string& text);
std::string current_directory();

// Asks the test script for a screenshot of the main window and waits for it.
void screenshot(const App& app, const char* name);

// What Explorer's Properties show of an executable: the fixed version numbers
// and the texts of its U.S. English (UTF-16) block. found: it has a version.
struct VersionResource {
    bool found = false;
    unsigned numbers[4] = {};
    std::string product_name, product_version, file_version, description, copyright;
};
VersionResource read_version_resource(const std::string& path);

// An executable's manifest: its text, and the settings the loader takes from
// it (empty when the manifest has no such setting or cannot be read).
struct ManifestSettings {
    std::string text;
    std::string dpi_aware, dpi_awareness;
};
ManifestSettings read_manifest(const std::string& path);

// The window's DPI as the system gives it; 0 where the system cannot tell.
unsigned window_dpi(HWND window);

}  // namespace gui

// Ring: shell. Where Tapwell.ini lives (the current directory at start) and
// what the window adds to it: its rectangle and the edit texts.
#include "shell/win32/window_state.h"

namespace tapwell {

namespace {

void form_settings_path() {
    char full[SETTINGS_PATH_SIZE];
    DWORD n = GetFullPathNameA("Tapwell.exe", sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) {
        settings_path[0] = '\0';
        return;
    }
    settings_path_from_program_path(full, settings_path, sizeof settings_path);
}

// The rectangle to store. A minimised window reports a rectangle far off the
// screen; its normal place is stored instead, so the next start shows it.
bool window_rect_to_store(HWND window, RECT& r) {
    if (IsIconic(window)) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        if (!GetWindowPlacement(window, &wp)) return false;
        r = wp.rcNormalPosition;
        return true;
    }
    return GetWindowRect(window, &r) != 0;
}

// The finished temporary file's bytes go to the disk before it takes the
// settings file's place, so that not even a power cut right after the rename
// leaves a Tapwell.ini without its contents. A read-only Tapwell.ini is not
// replaced (MoveFileEx refuses).
bool replace_settings_file(const char* temporary, const char* path) {
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

void load_settings() {
    form_settings_path();
    if (settings_path[0] != '\0') read_settings_file(settings_path);
}

void save_settings(HWND window) {
    collect_edit_texts();
    RECT r;
    if (window_rect_to_store(window, r)) {
        set_setting(SET_WIN_LEFT, r.left);
        set_setting(SET_WIN_TOP, r.top);
        set_setting(SET_WIN_RIGHT, r.right);
        set_setting(SET_WIN_BOTTOM, r.bottom);
    }
    // A save that fails leaves the earlier file as it was, silently, and the
    // program ends all the same.
    write_settings_file(settings_path, replace_settings_file);
}

}  // namespace tapwell

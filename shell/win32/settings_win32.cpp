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
    write_settings_file(settings_path);  // a file that cannot be written is left as it was, silently
    PostQuitMessage(0);
}

}  // namespace tapwell

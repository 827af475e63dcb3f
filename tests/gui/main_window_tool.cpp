// Ring: tests. Reaches Tapwell's main window (class "Tapwell") from another
// process in the same Wine prefix. scripts/windows-run.sh closes it with this
// on Ctrl-C, as a user would (WM_CLOSE: the window saves its settings and
// ends); tests/gui/run_interrupt_test.sh waits for it to appear.
//
//   tapwell_window_tool.exe close         0: a close was posted; 1: no window
//   tapwell_window_tool.exe wait SECONDS  0: the window is shown; 1: time-out
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND shown_main_window() {
    HWND window = FindWindowW(L"Tapwell", nullptr);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

int usage() {
    std::fprintf(stderr, "usage: tapwell_window_tool.exe close | wait SECONDS\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "close") == 0) {
        HWND window = FindWindowW(L"Tapwell", nullptr);
        return window != nullptr && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "wait") == 0) {
        const long tenths = std::strtol(argv[2], nullptr, 10) * 10;
        for (long i = 0; i <= tenths; ++i) {
            if (shown_main_window() != nullptr) return 0;
            Sleep(100);
        }
        return 1;
    }
    return usage();
}

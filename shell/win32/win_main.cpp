// Ring: shell. The entry point: the window class, the main window, the loop.
#include "shell/win32/window_state.h"

using namespace tapwell;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = main_window_proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));    // IDI_APPLICATION
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"Tapwell";
    if (RegisterClassW(&wc) == 0) {
        MessageBoxW(nullptr, L"Few resource or Wrong coding", L"Tapwell", MB_ICONERROR);
        return 0;
    }
    HWND window = CreateWindowExW(0, L"Tapwell", L"Tapwell utility R1.00", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                  instance, nullptr);
    if (window == nullptr) {
        // Without a window nothing could ever end the loop below.
        MessageBoxW(nullptr, L"Few resource or Wrong coding", L"Tapwell", MB_ICONERROR);
        return 1;
    }
    ShowWindow(window, show_command);
    UpdateWindow(window);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return static_cast<int>(m.wParam);
}

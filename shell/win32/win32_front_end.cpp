// Ring: shell. The seam as the window program implements it. The worker never
// touches window state itself: the result box is set through SendMessage (the
// worker waits until the UI thread has shown it) and repaints are requested
// without waiting. (How a job ended reaches the UI thread through worker.cpp.)
#include "shell/win32/wide_text.h"
#include "shell/win32/window_state.h"

namespace tapwell {

namespace {

class Win32FrontEnd final : public FrontEnd {
public:
    void show_result(const char* text) override {
        WideText wide;  // the worker's own stack: no sharing
        to_wide(text, wide);
        SendMessageW(control_window[ID_RESULT], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.text));
    }
    void request_repaint() override { InvalidateRect(main_window, nullptr, TRUE); }
};

Win32FrontEnd front_end;

}  // namespace

FrontEnd& window_front_end() { return front_end; }

void enable_control(int control_id, bool enabled) {
    if (control_id >= 0 && control_id < LAYOUT_COUNT && control_window[control_id] != nullptr) {
        EnableWindow(control_window[control_id], enabled ? TRUE : FALSE);
    }
}

}  // namespace tapwell

// Ring: shell. The main window: its state, the routing of its messages, its
// creation, sizing, scrolling and end.
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "runtime/log_stream.h"
#include "shell/window_geometry.h"
#include "shell/win32/window_messages.h"
#include "shell/win32/window_state.h"

namespace tapwell {

HWND main_window = nullptr;
HWND control_window[LAYOUT_COUNT] = {};
CellGeometry cell = {FALLBACK_CELL.char_width, FALLBACK_CELL.line_height, 0, 0};
char settings_path[SETTINGS_PATH_SIZE] = "";

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE: return on_create(window, reinterpret_cast<const CREATESTRUCTW*>(lparam));
        case WM_DESTROY: return on_destroy(window);
        case WM_SIZE: return on_size(window, LOWORD(lparam), HIWORD(lparam));
        case WM_PAINT: return on_paint(window);
        case WM_COMMAND: return on_command(window, wparam);
        case WM_HSCROLL: return on_hscroll(window, LOWORD(wparam));
        case WM_VSCROLL: return on_vscroll(window, LOWORD(wparam));
        case WM_TAPWELL_JOB_END: return on_job_end(static_cast<JobOutcome>(wparam));
        default: return DefWindowProcW(window, message, wparam, lparam);
    }
}

namespace {

CellSize measure_cell(HWND window) {
    TEXTMETRICW tm{};
    HDC dc = GetDC(window);
    BOOL measured = dc != nullptr && GetTextMetricsW(dc, &tm);
    if (dc != nullptr) ReleaseDC(window, dc);
    if (!measured) return FALLBACK_CELL;
    return cell_size_from_metrics(tm.tmAveCharWidth, tm.tmPitchAndFamily, tm.tmHeight, tm.tmExternalLeading);
}

// A stored rectangle is used only when it is big enough and lies on a monitor
// that exists now; otherwise the window would open out of reach.
void restore_window_rect(HWND window) {
    RECT r = {setting(SET_WIN_LEFT), setting(SET_WIN_TOP), setting(SET_WIN_RIGHT), setting(SET_WIN_BOTTOM)};
    if (!saved_rect_usable(r.left, r.top, r.right, r.bottom)) return;
    if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL) == nullptr) return;
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

}  // namespace

LRESULT on_create(HWND window, const CREATESTRUCTW* creation) {
    main_window = window;
    CellSize c = measure_cell(window);
    cell = {c.char_width, c.line_height, 0, 0};
    clear_shared_state();
    load_settings();
    if (setting(SET_LANGUAGE) != 0 && setting(SET_LANGUAGE) != 1) set_setting(SET_LANGUAGE, 0);
    create_controls(window, creation->hInstance);
    apply_language();
    restore_window_rect(window);
    return 0;
}

LRESULT on_size(HWND window, int width, int height) {
    SizeChange s = size_change(width, height, {cell.char_width, cell.line_height}, cell.scroll_col, cell.scroll_row);
    if (s.d_rows != 0) {
        ScrollWindow(window, 0, s.d_rows * cell.line_height, nullptr, nullptr);
        cell.scroll_row += s.d_rows;
    }
    if (s.d_cols != 0) {
        ScrollWindow(window, s.d_cols * cell.char_width, 0, nullptr, nullptr);
        cell.scroll_col += s.d_cols;
    }
    if (s.d_rows != 0 || s.d_cols != 0) InvalidateRect(window, nullptr, TRUE);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 0;
    si.nMax = SHEET_ROWS;
    si.nPage = static_cast<UINT>(s.rows);
    SetScrollInfo(window, SB_VERT, &si, TRUE);
    si.nMax = SHEET_COLUMNS;
    si.nPage = static_cast<UINT>(s.cols);
    SetScrollInfo(window, SB_HORZ, &si, TRUE);
    return 0;
}

namespace {

// Moves the bar by the code and returns the cells the sheet moves (0: none).
std::int32_t scroll_bar(HWND window, int bar, int code, std::int32_t offset) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &si);
    const std::int32_t old_pos = si.nPos;
    ScrollBarState state{si.nMin, si.nMax, static_cast<std::int32_t>(si.nPage), si.nPos, si.nTrackPos};
    si.fMask = SIF_POS;
    si.nPos = wanted_scroll_position(code, state);
    SetScrollInfo(window, bar, &si, TRUE);
    GetScrollInfo(window, bar, &si);
    if (si.nPos == old_pos) return 0;
    return scroll_delta(old_pos, si.nPos, offset);
}

}  // namespace

LRESULT on_vscroll(HWND window, int code) {
    std::int32_t d = scroll_bar(window, SB_VERT, code, cell.scroll_row);
    if (d == 0) return 0;
    ScrollWindow(window, 0, d * cell.line_height, nullptr, nullptr);
    cell.scroll_row += d;
    UpdateWindow(window);
    return 0;
}

LRESULT on_hscroll(HWND window, int code) {
    std::int32_t d = scroll_bar(window, SB_HORZ, code, cell.scroll_col);
    if (d == 0) return 0;
    ScrollWindow(window, d * cell.char_width, 0, nullptr, nullptr);
    cell.scroll_col += d;
    // Painted records whose left edge went off the client area vanish whole.
    InvalidateRect(window, nullptr, TRUE);
    return 0;
}

LRESULT on_job_end(JobOutcome outcome) {
    // The worker returns right after posting this message. It is gone before the
    // end routine enables the start buttons, so no new job can meet the old one.
    wait_for_worker();
    run_end_routine(*running_job, enable_control);
    if (outcome == JobOutcome::write_failed || log_failed()) end_failed_log(main_window);
    InvalidateRect(main_window, nullptr, TRUE);
    return 0;
}

LRESULT on_destroy(HWND window) {
    static bool ended = false;  // Exit sends the notification; a later close must not save twice
    if (ended) return 0;
    ended = true;
    // A running job is stopped the same way as by Abort, so the log ends on a
    // whole line and the settings are not written while the worker writes.
    if (worker_thread != nullptr) {
        claim_job_abort();
        wait_for_worker();
    }
    if (settings_path[0] != '\0') save_settings(window);
    // The window is on its way out: the box, if any, stands alone.
    close_log_and_report(nullptr);
    PostQuitMessage(0);
    return 0;
}

}  // namespace tapwell

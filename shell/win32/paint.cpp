// Ring: shell. Painting the records the window draws itself: the log path and
// the status line (and any other painted kind a record may use).
#include "jobs/status_text.h"
#include "shell/win32/wide_text.h"
#include "shell/win32/window_state.h"

namespace tapwell {

namespace {

void draw_wide(HDC dc, const char* cp932, RECT& r, UINT format) {
    static WideText wide;  // UI thread only
    to_wide(cp932, wide);
    DrawTextW(dc, wide.text, -1, &r, format);
}

void draw_record(HDC dc, const LayoutRecord& record, RECT& r, int language) {
    switch (record.kind) {
        case KIND_PAINT_TEXT:
            draw_wide(dc, record.text[language], r, record.style);
            break;
        case KIND_PAINT_SLOT:
            if (record.index == SLOT_STATUS) {
                draw_wide(dc, status_text().c_str(), r, record.style);
            } else if (record.index == SLOT_LOG_PATH) {
                // A path, in the system's code page as the save dialog gave it.
                DrawTextA(dc, text_slot(record.index), -1, &r, record.style);
            } else {
                draw_wide(dc, text_slot(record.index), r, record.style);
            }
            break;
        case KIND_PAINT_DEC:
        case KIND_PAINT_HEX:
            DrawTextA(dc, format_setting(record.kind, setting(record.index)).text, -1, &r, record.style);
            break;
        case KIND_PAINT_EDGE:
            DrawEdge(dc, &r, record.style, static_cast<UINT>(record.aux));
            break;
        default:
            break;
    }
}

}  // namespace

LRESULT on_paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    const int language = current_language();
    for (const LayoutRecord& record : layout_table) {
        if (record_role(record.kind) != RecordRole::painted) continue;
        PixelRect p = cell_to_pixels(record, cell);
        if (p.left < 0) continue;  // scrolled past the left edge: not drawn at all
        RECT r = {p.left, p.top, p.right, p.bottom};
        draw_record(dc, record, r, language);
    }
    EndPaint(window, &ps);
    return 0;
}

}  // namespace tapwell

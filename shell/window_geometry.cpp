// Ring: shell. See window_geometry.h.
#include "shell/window_geometry.h"

#include <algorithm>

namespace tapwell {

CellSize cell_size_from_metrics(std::int32_t ave_char_width, std::uint32_t pitch_and_family,
                                std::int32_t height, std::int32_t external_leading) {
    CellSize cell{ave_char_width, height + external_leading};
    if ((pitch_and_family & 1u) != 0) cell.char_width = ave_char_width * 3 / 2;
    if (cell.char_width <= 0 || cell.char_width > 1000) cell.char_width = FALLBACK_CELL.char_width;
    if (cell.line_height <= 0 || cell.line_height > 1000) cell.line_height = FALLBACK_CELL.line_height;
    return cell;
}

namespace {
// Cells the sheet comes back when `visible` cells show past its end.
std::int32_t clamp_back(std::int32_t visible, std::int32_t offset, std::int32_t sheet) {
    if (offset >= 0 || visible <= offset + sheet) return 0;
    return std::min(visible - (offset + sheet), -offset);
}
}  // namespace

SizeChange size_change(std::int32_t width, std::int32_t height, CellSize cell, std::int32_t scroll_col,
                       std::int32_t scroll_row) {
    SizeChange s{};
    s.cols = width / cell.char_width;
    s.rows = height / cell.line_height;
    s.d_rows = clamp_back(s.rows, scroll_row, SHEET_ROWS);
    s.d_cols = clamp_back(s.cols, scroll_col, SHEET_COLUMNS);
    return s;
}

std::int32_t wanted_scroll_position(int code, const ScrollBarState& bar) {
    switch (code) {
        case SCROLL_LINE_UP: return bar.pos - 1;
        case SCROLL_LINE_DOWN: return bar.pos + 1;
        case SCROLL_PAGE_UP: return bar.pos - bar.page;
        case SCROLL_PAGE_DOWN: return bar.pos + bar.page;
        case SCROLL_THUMB_TRACK: return bar.track_pos;
        case SCROLL_TOP: return bar.min;
        case SCROLL_BOTTOM: return bar.max;
        default: return bar.pos;
    }
}

std::int32_t scroll_delta(std::int32_t old_pos, std::int32_t new_pos, std::int32_t offset) {
    std::int32_t d = old_pos - new_pos;
    return d > -offset ? -offset : d;
}

WindowSize default_window_size(CellSize cell) {
    return {cell.char_width * 540 / 10, cell.line_height * 500 / 10};
}

bool saved_rect_usable(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    long long w = static_cast<long long>(right) - left;
    long long h = static_cast<long long>(bottom) - top;
    // A damaged file can hold any numbers; a window wider or higher than this
    // is no window anyone saved.
    constexpr long long LARGEST = 100000;
    return w > 5 && h > 5 && w <= LARGEST && h <= LARGEST;
}

}  // namespace tapwell

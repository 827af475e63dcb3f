// Ring: shell. The arithmetic of the main window: the cell size from the font
// metrics, the sheet's scroll offsets on resizing and on scroll-bar codes, and
// the default and restored window sizes. Pure functions: the window procedure
// applies what they return with the platform's calls.
#pragma once

#include <cstdint>

namespace tapwell {

// The sheet the controls are laid out on, in whole cells.
constexpr std::int32_t SHEET_ROWS = 46;
constexpr std::int32_t SHEET_COLUMNS = 52;

struct CellSize {
    std::int32_t char_width;
    std::int32_t line_height;
};

// The platform sets bit 0 of the pitch-and-family byte for a variable-pitch
// font, whose average width is then widened by half. Metrics that give no
// usable cell (a failed measurement) fall back to 8 x 16, so that nothing
// divides by zero.
constexpr CellSize FALLBACK_CELL = {8, 16};
CellSize cell_size_from_metrics(std::int32_t ave_char_width, std::uint32_t pitch_and_family,
                                std::int32_t height, std::int32_t external_leading);

// Resizing to a client area of width x height pixels. When the sheet is
// scrolled and the window has grown past its end, the sheet comes back by
// d_cols / d_rows cells (right / down, never past its natural place).
struct SizeChange {
    std::int32_t cols, rows;      // whole cells visible: the scroll bars' pages
    std::int32_t d_cols, d_rows;  // cells to scroll back, 0 or positive
};
SizeChange size_change(std::int32_t width, std::int32_t height, CellSize cell, std::int32_t scroll_col,
                       std::int32_t scroll_row);

// Scroll-bar codes as the platform numbers them.
enum ScrollCode : int {
    SCROLL_LINE_UP = 0,
    SCROLL_LINE_DOWN = 1,
    SCROLL_PAGE_UP = 2,
    SCROLL_PAGE_DOWN = 3,
    SCROLL_THUMB_POSITION = 4,
    SCROLL_THUMB_TRACK = 5,
    SCROLL_TOP = 6,
    SCROLL_BOTTOM = 7,
    SCROLL_END = 8,
};

struct ScrollBarState {
    std::int32_t min, max, page, pos, track_pos;
};

// The position a scroll code asks for; the platform then keeps it in range.
std::int32_t wanted_scroll_position(int code, const ScrollBarState& bar);

// Cells to move the sheet once the bar went from old_pos to new_pos: positive
// toward the top or left, never further than back to the natural place.
std::int32_t scroll_delta(std::int32_t old_pos, std::int32_t new_pos, std::int32_t offset);

// The "#" size: 54 by 50 cells.
struct WindowSize {
    std::int32_t width, height;
};
WindowSize default_window_size(CellSize cell);

// A stored rectangle is used only when it is wider and higher than 5 pixels
// (and not absurdly large, as only a damaged file can make it).
bool saved_rect_usable(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

}  // namespace tapwell

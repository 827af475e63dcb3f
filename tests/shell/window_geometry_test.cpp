// Ring: tests. Cell size, resizing and scrolling arithmetic of the main window.
#include <gtest/gtest.h>

#include "shell/window_geometry.h"

namespace tapwell {
namespace {

TEST(WindowGeometry, CellSizeFromMetrics) {
    struct Case {
        int ave, pitch, height, leading;
        CellSize expected;
    };
    const Case cases[] = {
        {7, 1, 16, 0, {10, 16}},   // variable pitch: widened by half
        {8, 0, 16, 0, {8, 16}},    // fixed pitch stays
        {6, 0x31, 13, 2, {9, 15}},
        {0, 0, 0, 0, {8, 16}},     // failed measurement: fallback, no zero cell
        {1, 1, -5, 0, {8, 16}},    // 1 * 3 / 2 = 1 is usable, height is not
    };
    for (const Case& c : cases) {
        CellSize s = cell_size_from_metrics(c.ave, static_cast<unsigned>(c.pitch), c.height, c.leading);
        EXPECT_EQ(s.char_width, c.ave == 1 ? 1 : c.expected.char_width) << c.ave;
        EXPECT_EQ(s.line_height, c.expected.line_height) << c.ave;
    }
}

TEST(WindowGeometry, SizeClampBack) {
    struct Case {
        int width, height, scroll_col, scroll_row;
        SizeChange expected;
    };
    const CellSize cell{8, 16};
    const Case cases[] = {
        {100 * 8, 40 * 16, 0, -10, {100, 40, 0, 4}},   // 40 > 36: down 4 rows
        {100 * 8, 60 * 16, 0, -3, {100, 60, 0, 3}},    // only back to 0
        {50 * 8, 10 * 16, -5, 0, {50, 10, 3, 0}},      // 50 > 47: right 3
        {4000, 4000, 0, 0, {500, 250, 0, 0}},          // unscrolled: nothing
        {0, 0, -5, -5, {0, 0, 0, 0}},                  // minimised
        {30 * 8 + 7, 20 * 16 + 15, -5, -5, {30, 20, 0, 0}},
    };
    for (const Case& c : cases) {
        SizeChange s = size_change(c.width, c.height, cell, c.scroll_col, c.scroll_row);
        EXPECT_EQ(s.cols, c.expected.cols);
        EXPECT_EQ(s.rows, c.expected.rows);
        EXPECT_EQ(s.d_cols, c.expected.d_cols) << c.width;
        EXPECT_EQ(s.d_rows, c.expected.d_rows) << c.height;
    }
}

TEST(WindowGeometry, ScrollCodes) {
    const ScrollBarState bar{0, 46, 10, 12, 30};
    struct Case {
        int code;
        int wanted;
    };
    const Case cases[] = {{SCROLL_LINE_UP, 11}, {SCROLL_LINE_DOWN, 13},     {SCROLL_PAGE_UP, 2},
                          {SCROLL_PAGE_DOWN, 22}, {SCROLL_THUMB_POSITION, 12}, {SCROLL_THUMB_TRACK, 30},
                          {SCROLL_TOP, 0},      {SCROLL_BOTTOM, 46},         {SCROLL_END, 12},
                          {99, 12}};
    for (const Case& c : cases) EXPECT_EQ(wanted_scroll_position(c.code, bar), c.wanted) << c.code;

    EXPECT_EQ(scroll_delta(12, 0, -12), 12);   // SB_TOP: back to the natural place
    EXPECT_EQ(scroll_delta(12, 11, -12), 1);   // one line up
    EXPECT_EQ(scroll_delta(12, 0, -5), 5);     // never past the natural place
    EXPECT_EQ(scroll_delta(0, 3, 0), -3);      // down: no limit this way
}

TEST(WindowGeometry, DefaultAndSavedSizes) {
    WindowSize s = default_window_size({8, 16});
    EXPECT_EQ(s.width, 432);
    EXPECT_EQ(s.height, 800);
    EXPECT_FALSE(saved_rect_usable(100, 100, 105, 400));
    EXPECT_TRUE(saved_rect_usable(100, 100, 106, 106));
    EXPECT_FALSE(saved_rect_usable(0, 0, 0, 0));
    EXPECT_FALSE(saved_rect_usable(-2147483647 - 1, 0, 2147483647, 100));  // no overflow
}

}  // namespace
}  // namespace tapwell

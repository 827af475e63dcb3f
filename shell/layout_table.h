// Ring: shell. The one table that describes everything inside the main window:
// 45 records, the record's index being the control identifier. Platform-free,
// so the table and its pixel arithmetic are tested natively.
#pragma once

#include <array>
#include <cstdint>

namespace tapwell {

enum LayoutKind : std::int32_t {
    KIND_EMPTY = -1,
    KIND_PAINT_TEXT = 1,
    KIND_PAINT_SLOT = 2,
    KIND_PAINT_DEC = 3,
    KIND_PAINT_HEX = 4,
    KIND_PAINT_EDGE = 11,
    KIND_BUTTON = 21,
    KIND_RADIO = 22,
    KIND_CHECK = 23,
    KIND_GROUP = 24,
    KIND_LABEL = 31,
    KIND_LABEL_SLOT = 32,
    KIND_LABEL_DEC = 33,
    KIND_LABEL_HEX = 34,
    KIND_EDIT = 41,
};

// aux value of a control created disabled.
constexpr std::int32_t AUX_CREATED_DISABLED = 2;

struct LayoutRecord {
    std::int32_t kind;
    std::int32_t index;
    std::int32_t aux;
    std::uint32_t style;
    std::int32_t cell_left, cell_top, cell_right, cell_bottom;  // tenths of a cell
    const char* text[2];  // [0] Japanese (code page 932 bytes), [1] English
};

constexpr int LAYOUT_COUNT = 45;
extern const std::array<LayoutRecord, LAYOUT_COUNT> layout_table;

// Layout record ids the commands and the window refer to by name.
enum ControlId : int {
    ID_LANGUAGE = 1,
    ID_DEFAULT_SIZE = 2,
    ID_LOG_SELECT = 4,
    ID_LOG_PATH = 5,
    ID_LOG_END = 6,
    ID_EXIT = 7,
    ID_SEARCH_FROM = 11,
    ID_FIND_COUNT = 13,
    ID_SEARCH_START = 14,
    ID_SEARCH_ABORT = 15,
    ID_PAIR_SEARCH = 16,
    ID_STATUS_REPORT = 17,
    ID_STATUS_LINE = 19,
    ID_RESULT = 20,
    ID_MODE_SERIAL = 22,
    ID_MODE_PARALLEL = 23,
    ID_MODE_GOLD = 24,
    ID_WIDTH = 29,
    ID_SHOW_REGISTER = 35,
    ID_OUTPUT_COUNT = 37,
    ID_POLY_LIST = 39,
    ID_GENERATE_START = 40,
    ID_GENERATE_ABORT = 41,
    ID_CORRELATE = 42,
};

// What becomes of a record: a child control of some class, something the
// window paints, or nothing. Unknown kind values count as empty.
enum class RecordRole { none, painted, button, label, edit };
RecordRole record_role(std::int32_t kind);
// The window class name of a control record ("button", "static", "edit"), or
// nullptr for painted and empty records.
const char* control_class(std::int32_t kind);

struct CellGeometry {
    std::int32_t char_width;   // pixels, positive
    std::int32_t line_height;  // pixels, positive
    std::int32_t scroll_col;   // whole cells, 0 or negative
    std::int32_t scroll_row;
};

struct PixelRect {
    std::int32_t left, top, right, bottom;
};

// Each edge on its own: product first, then the truncating division, then the
// scroll shift.
PixelRect cell_to_pixels(const LayoutRecord& record, const CellGeometry& geometry);

// Texts a setting is shown with: "%d", "%#x" (painted) and "%x" (label).
struct NumberText {
    char text[16];
};
NumberText format_setting(std::int32_t kind, std::int32_t value);

}  // namespace tapwell

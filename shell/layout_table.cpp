// Ring: shell. The layout table. Japanese texts are code page 932 bytes, as the
// ANSI window functions and the settings file take them; the comment above each
// record shows the characters. Styles are the window styles (controls) or the
// text-drawing formats (painted records) as stored numbers. A record's index
// names the text slot or setting it shows (shared_state.h), a radio button's
// aux the first button of its group.
//
// The English labels' spellings ("polynominals", "Polynominal") are the
// program's own, like those of its log (jobs/system_texts.h): keep them.
#include "shell/layout_table.h"

#include "jobs/shared_state.h"
#include "tapwell/sequences.hpp"

#include <cstdio>

namespace tapwell {

// A radio button's value is its place in its group: the generation modes.
static_assert(ID_MODE_PARALLEL - ID_MODE_SERIAL == static_cast<int>(GenerationMode::parallel) &&
              ID_MODE_GOLD - ID_MODE_SERIAL == static_cast<int>(GenerationMode::gold));

namespace {
constexpr LayoutRecord EMPTY = {KIND_EMPTY, -1, -1, 0xFFFFFFFFu, 0, 0, 0, 0, {nullptr, nullptr}};
}  // namespace

const std::array<LayoutRecord, LAYOUT_COUNT> layout_table = {{
    // 0: 原始多項式を探索したり，系列値を生成します。
    {KIND_LABEL, -1, -1, 0x50000000u, 10, 6, 400, 16,
     {"\214\264\216n\221\275\215\200\216\256\202\360\222T\215\365\202\265\202\275\202\350\201C\214n\227\361\222l\202\360\220\266\220\254\202\265\202\334\202\267\201B", "Searching for primitive polynominals, Generating sequences."}},
    {KIND_BUTTON, -1, -1, 0x50000000u, 410, 5, 500, 17, {"English", "Japanese"}},  // 1
    {KIND_BUTTON, -1, -1, 0x50000000u, 505, 5, 520, 17, {"#", "#"}},  // 2
    // 3: 最初に記録ファイルを開く
    {KIND_GROUP, -1, -1, 0x50000007u, 10, 20, 520, 65,
     {"\215\305\217\211\202\311\213L\230^\203t\203@\203C\203\213\202\360\212J\202\255", "Open the log file first."}},
    // 4: 記録ファイル選択
    {KIND_BUTTON, SLOT_LOG_PATH, -1, 0x50000000u, 20, 35, 150, 47,
     {"\213L\230^\203t\203@\203C\203\213\221I\221\360", "Log file select"}},
    {KIND_PAINT_SLOT, SLOT_LOG_PATH, -1, 0x00004000u, 160, 35, 510, 47, {nullptr, nullptr}},  // 5
    // 6: 記録終了
    {KIND_BUTTON, -1, AUX_CREATED_DISABLED, 0x50000000u, 20, 50, 150, 62,
     {"\213L\230^\217I\227\271", "End of logging"}},
    // 7: プログラム終了
    {KIND_BUTTON, -1, -1, 0x50000000u, 160, 50, 290, 62,
     {"\203v\203\215\203O\203\211\203\200\217I\227\271", "Exit"}},
    EMPTY,  // 8
    // 9: 原始多項式の探索
    {KIND_GROUP, -1, -1, 0x50000007u, 10, 70, 520, 125,
     {"\214\264\216n\221\275\215\200\216\256\202\314\222T\215\365", "Searching for primitive polynominals"}},
    // 10: 探索開始値
    {KIND_LABEL, -1, -1, 0x50000002u, 15, 80, 150, 92,
     {"\222T\215\365\212J\216n\222l", "Searching from"}},
    {KIND_EDIT, SLOT_SEARCH_FROM, -1, 0x50800000u, 160, 80, 510, 92, {nullptr, nullptr}},  // 11
    // 12: 探索個数(0:max)
    {KIND_LABEL, -1, -1, 0x50000002u, 15, 95, 150, 107,
     {"\222T\215\365\214\302\220\224(0:max)", "Number of find(0:max)"}},
    {KIND_EDIT, SLOT_FIND_COUNT, -1, 0x50800000u, 160, 95, 250, 107, {nullptr, nullptr}},  // 13
    // 14: 開始
    {KIND_BUTTON, -1, AUX_CREATED_DISABLED, 0x50000000u, 20, 110, 120, 122,
     {"\212J\216n", "Start"}},
    // 15: 中断
    {KIND_BUTTON, -1, AUX_CREATED_DISABLED, 0x50000000u, 150, 110, 250, 122,
     {"\222\206\222f", "Abort"}},
    // 16: P.P.探索
    {KIND_BUTTON, -1, AUX_CREATED_DISABLED, 0x50000000u, 280, 110, 380, 122,
     {"P.P.\222T\215\365", "P.P. search"}},
    // 17: 状況報告
    {KIND_BUTTON, -1, AUX_CREATED_DISABLED, 0x50000000u, 410, 110, 510, 122,
     {"\217\363\213\265\225\361\215\220", "Status report"}},
    // 18: 結果
    {KIND_GROUP, -1, -1, 0x50000007u, 10, 130, 520, 275,
     {"\214\213\211\312", "Result"}},
    {KIND_PAINT_SLOT, SLOT_STATUS, -1, 0x00000010u, 15, 145, 510, 155, {nullptr, nullptr}},  // 19
    {KIND_EDIT, SLOT_RESULT, -1, 0x50A000C4u, 15, 160, 510, 270, {nullptr, nullptr}},  // 20
    // 21: 系列値の生成
    {KIND_GROUP, -1, -1, 0x50000007u, 10, 280, 520, 435,
     {"\214n\227\361\222l\202\314\220\266\220\254", "Generating sequences"}},
    // 22: M系列(シリアル)
    {KIND_RADIO, SET_GEN_MODE, ID_MODE_SERIAL, 0x50000004u, 20, 295, 170, 307,
     {"M\214n\227\361(\203V\203\212\203A\203\213)", "Tapwell(serial)"}},
    // 23: M系列(パラレル)
    {KIND_RADIO, SET_GEN_MODE, ID_MODE_SERIAL, 0x50000004u, 180, 295, 330, 307,
     {"M\214n\227\361(\203p\203\211\203\214\203\213)", "Tapwell(parallel)"}},
    // 24: Gold系列
    {KIND_RADIO, SET_GEN_MODE, ID_MODE_SERIAL, 0x50000004u, 340, 295, 490, 307,
     {"Gold\214n\227\361", "Gold-sequence"}},
    EMPTY,  // 25
    EMPTY,  // 26
    EMPTY,  // 27
    // 28: 出力ビット幅
    {KIND_LABEL, -1, -1, 0x50000002u, 15, 310, 170, 322,
     {"\217o\227\315\203r\203b\203g\225\235", "Width of output bit"}},
    {KIND_EDIT, SLOT_WIDTH, -1, 0x50800000u, 180, 310, 300, 322, {nullptr, nullptr}},  // 29
    EMPTY,  // 30
    EMPTY,  // 31
    EMPTY,  // 32
    EMPTY,  // 33
    EMPTY,  // 34
    // 35: レジスタ値出力
    {KIND_CHECK, SET_SHOW_REGISTER, -1, 0x50000102u, 340, 310, 510, 322,
     {"\203\214\203W\203X\203^\222l\217o\227\315", "Output Register's value."}},
    // 36: 生成個数(0:max)
    {KIND_LABEL, -1, -1, 0x50000002u, 15, 325, 170, 337,
     {"\220\266\220\254\214\302\220\224(0:max)", "Number of output(0:max)"}},
    {KIND_EDIT, SLOT_OUTPUT_COUNT, -1, 0x50800000u, 180, 325, 300, 337, {nullptr, nullptr}},  // 37
    // 38: 多項式と初期値(1行づつ交互)
    {KIND_LABEL, -1, -1, 0x50000000u, 15, 340, 510, 350,
     {"\221\275\215\200\216\256\202\306\217\211\212\372\222l(1\215s\202\303\202\302\214\360\214\335)", "Polynominal and Initial value(each line alternative)"}},
    {KIND_EDIT, SLOT_POLY_LIST, -1, 0x50A00044u, 15, 350, 510, 400, {nullptr, nullptr}},  // 39
    // 40: 開始
    {KIND_BUTTON, -1, AUX_CREATED_DISABLED, 0x50000000u, 20, 410, 120, 422,
     {"\212J\216n", "Start"}},
    // 41: 中断
    {KIND_BUTTON, -1, AUX_CREATED_DISABLED, 0x50000000u, 150, 410, 250, 422,
     {"\222\206\222f", "Abort"}},
    // 42: 相関
    {KIND_BUTTON, -1, AUX_CREATED_DISABLED, 0x50000000u, 280, 410, 380, 422,
     {"\221\212\212\326", "correlation"}},
    EMPTY,  // 43
    EMPTY,  // 44
}};

RecordRole record_role(std::int32_t kind) {
    switch (kind) {
        case KIND_PAINT_TEXT:
        case KIND_PAINT_SLOT:
        case KIND_PAINT_DEC:
        case KIND_PAINT_HEX:
        case KIND_PAINT_EDGE:
            return RecordRole::painted;
        case KIND_BUTTON:
        case KIND_RADIO:
        case KIND_CHECK:
        case KIND_GROUP:
            return RecordRole::button;
        case KIND_LABEL:
        case KIND_LABEL_SLOT:
        case KIND_LABEL_DEC:
        case KIND_LABEL_HEX:
            return RecordRole::label;
        case KIND_EDIT:
            return RecordRole::edit;
        default:
            return RecordRole::none;
    }
}

const char* control_class(std::int32_t kind) {
    switch (record_role(kind)) {
        case RecordRole::button: return "button";
        case RecordRole::label: return "static";
        case RecordRole::edit: return "edit";
        default: return nullptr;
    }
}

PixelRect cell_to_pixels(const LayoutRecord& r, const CellGeometry& g) {
    // 64-bit products: a damaged cell size must not overflow into nonsense.
    auto edge = [](std::int32_t tenths, std::int32_t cell, std::int32_t shift) {
        long long v = static_cast<long long>(tenths) * cell / 10 + static_cast<long long>(cell) * shift;
        return static_cast<std::int32_t>(v);
    };
    return {edge(r.cell_left, g.char_width, g.scroll_col), edge(r.cell_top, g.line_height, g.scroll_row),
            edge(r.cell_right, g.char_width, g.scroll_col), edge(r.cell_bottom, g.line_height, g.scroll_row)};
}

NumberText format_setting(std::int32_t kind, std::int32_t value) {
    NumberText t{};
    const char* format = kind == KIND_PAINT_HEX ? "%#x" : kind == KIND_LABEL_HEX ? "%x" : "%d";
    if (kind == KIND_PAINT_HEX || kind == KIND_LABEL_HEX) {
        std::snprintf(t.text, sizeof t.text, format, static_cast<unsigned>(value));
    } else {
        std::snprintf(t.text, sizeof t.text, format, value);
    }
    return t;
}

}  // namespace tapwell

// Ring: tests. The layout table: the controls it describes, their texts, and
// the pixel arithmetic.
#include <gtest/gtest.h>

#include <cstring>

#include "jobs/shared_state.h"
#include "shell/layout_table.h"

namespace tapwell {
namespace {

TEST(LayoutTable, ThirtyTwoControlsTwoPaintedElevenEmpty) {
    int controls = 0, painted = 0, empty = 0;
    for (const LayoutRecord& r : layout_table) {
        switch (record_role(r.kind)) {
            case RecordRole::none: ++empty; break;
            case RecordRole::painted: ++painted; break;
            default: ++controls; break;
        }
    }
    EXPECT_EQ(controls, 32);
    EXPECT_EQ(painted, 2);
    EXPECT_EQ(empty, 11);
    for (int id : {5, 8, 19, 25, 26, 27, 30, 31, 32, 33, 34, 43, 44}) {
        EXPECT_EQ(control_class(layout_table[id].kind), nullptr) << id;
    }
}

TEST(LayoutTable, CreatedDisabledAreTheRunControls) {
    for (int id = 0; id < LAYOUT_COUNT; ++id) {
        const LayoutRecord& r = layout_table[id];
        bool disabled = r.kind != KIND_RADIO && control_class(r.kind) != nullptr && r.aux == AUX_CREATED_DISABLED;
        bool expected = id == 6 || id == 14 || id == 15 || id == 16 || id == 17 || id == 40 || id == 41 || id == 42;
        EXPECT_EQ(disabled, expected) << id;
    }
}

TEST(LayoutTable, TextsAndBindings) {
    struct Case {
        int id;
        const char* japanese;
        const char* english;
    };
    const Case cases[] = {
        {1, "English", "Japanese"},
        {4, "\x8bL\x98^\x83t\x83@\x83" "C\x83\x8b\x91I\x91\xf0", "Log file select"},  // 記録ファイル選択
        {16, "P.P.\x92T\x8d\xf5", "P.P. search"},                                      // P.P.探索
        {24, "Gold\x8cn\x97\xf1", "Gold-sequence"},                                    // Gold系列
        {38, nullptr, "Polynominal and Initial value(each line alternative)"},
        {42, "\x91\x8a\x8a\xd6", "correlation"},  // 相関
    };
    for (const Case& c : cases) {
        const LayoutRecord& r = layout_table[c.id];
        if (c.japanese != nullptr) {
            EXPECT_STREQ(r.text[0], c.japanese) << c.id;
        }
        EXPECT_STREQ(r.text[1], c.english) << c.id;
    }
    struct Binding {
        int id;
        int kind, index, aux;
        unsigned style;
    };
    const Binding bindings[] = {
        {5, KIND_PAINT_SLOT, 0, -1, 0x4000u},   {11, KIND_EDIT, 1, -1, 0x50800000u},
        {19, KIND_PAINT_SLOT, 9, -1, 0x10u},    {20, KIND_EDIT, 8, -1, 0x50A000C4u},
        {23, KIND_RADIO, 13, 22, 0x50000004u},  {35, KIND_CHECK, 14, -1, 0x50000102u},
        {39, KIND_EDIT, 7, -1, 0x50A00044u},    {44, KIND_EMPTY, -1, -1, 0xFFFFFFFFu},
    };
    for (const Binding& b : bindings) {
        const LayoutRecord& r = layout_table[b.id];
        EXPECT_EQ(r.kind, b.kind) << b.id;
        EXPECT_EQ(r.index, b.index) << b.id;
        EXPECT_EQ(r.aux, b.aux) << b.id;
        EXPECT_EQ(r.style, b.style) << b.id;
    }
    // Every Japanese text is valid code page 932: lead bytes are followed by a
    // trail byte, so no text ends inside a character.
    for (const LayoutRecord& r : layout_table) {
        if (r.text[0] == nullptr) continue;
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(r.text[0]); *p != 0; ++p) {
            if ((*p >= 0x81 && *p <= 0x9f) || (*p >= 0xe0 && *p <= 0xfc)) {
                ++p;
                ASSERT_TRUE(*p >= 0x40 && *p <= 0xfc) << r.text[1];
            }
        }
    }
}

// The names the commands, the painting and the jobs use for one thing agree:
// each named control shows the slot or setting of the same name, and every
// edit control is one of them, so no typed text reaches an unnamed slot.
TEST(LayoutTable, NamedControlsShowTheSlotsAndSettingsOfTheirNames) {
    struct Binding {
        int id;
        int index;
    };
    const Binding slots[] = {
        {ID_LOG_SELECT, SLOT_LOG_PATH}, {ID_LOG_PATH, SLOT_LOG_PATH},       {ID_SEARCH_FROM, SLOT_SEARCH_FROM},
        {ID_FIND_COUNT, SLOT_FIND_COUNT}, {ID_STATUS_LINE, SLOT_STATUS},    {ID_RESULT, SLOT_RESULT},
        {ID_WIDTH, SLOT_WIDTH},           {ID_OUTPUT_COUNT, SLOT_OUTPUT_COUNT}, {ID_POLY_LIST, SLOT_POLY_LIST},
    };
    for (const Binding& b : slots) EXPECT_EQ(layout_table[b.id].index, b.index) << b.id;
    for (int id : {ID_MODE_SERIAL, ID_MODE_PARALLEL, ID_MODE_GOLD}) {
        EXPECT_EQ(layout_table[id].kind, KIND_RADIO) << id;
        EXPECT_EQ(layout_table[id].index, SET_GEN_MODE) << id;
        EXPECT_EQ(layout_table[id].aux, ID_MODE_SERIAL) << id;
    }
    EXPECT_EQ(layout_table[ID_SHOW_REGISTER].index, SET_SHOW_REGISTER);
    int edits = 0;
    for (int id = 0; id < LAYOUT_COUNT; ++id) {
        if (layout_table[id].kind != KIND_EDIT) continue;
        ++edits;
        bool named = false;
        for (const Binding& b : slots) named = named || (b.id == id && b.index == layout_table[id].index);
        EXPECT_TRUE(named) << "edit control " << id;
    }
    EXPECT_EQ(edits, 6);
}

TEST(LayoutTable, CellToPixels) {
    struct Case {
        int id;
        CellGeometry g;
        PixelRect expected;
    };
    const Case cases[] = {
        {11, {10, 16, 0, 0}, {160, 128, 510, 147}},
        {2, {7, 16, 0, 0}, {353, 8, 364, 27}},
        {2, {7, 16, -2, 0}, {339, 8, 350, 27}},
        {19, {7, 16, -2, -1}, {-4, 216, 343, 232}},
        {5, {7, 16, -2, 0}, {98, 56, 343, 75}},
    };
    for (const Case& c : cases) {
        PixelRect r = cell_to_pixels(layout_table[c.id], c.g);
        EXPECT_EQ(r.left, c.expected.left) << c.id;
        EXPECT_EQ(r.top, c.expected.top) << c.id;
        EXPECT_EQ(r.right, c.expected.right) << c.id;
        EXPECT_EQ(r.bottom, c.expected.bottom) << c.id;
    }
}

TEST(LayoutTable, SettingTexts) {
    EXPECT_STREQ(format_setting(KIND_PAINT_HEX, 0).text, "0");
    EXPECT_STREQ(format_setting(KIND_PAINT_HEX, 255).text, "0xff");
    EXPECT_STREQ(format_setting(KIND_LABEL_HEX, 255).text, "ff");
    EXPECT_STREQ(format_setting(KIND_PAINT_DEC, -2147483647 - 1).text, "-2147483648");
}

}  // namespace
}  // namespace tapwell

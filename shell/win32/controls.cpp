// Ring: shell. The child controls: created once from the layout table, given
// the texts of the current language, and read back into the text slots.
#include <cstddef>
#include <iterator>

#include "jobs/shared_state.h"
#include "shell/win32/wide_text.h"
#include "shell/win32/window_state.h"

namespace tapwell {

namespace {

// The class names are ASCII, so widening is a copy; the controls are created
// through the wide function so that they take Japanese text whatever the
// system's code page.
struct WideClass {
    wchar_t name[16];
};

bool wide_class(std::int32_t kind, WideClass& out) {
    const char* name = control_class(kind);
    if (name == nullptr) return false;
    std::size_t i = 0;
    for (; name[i] != '\0' && i + 1 < std::size(out.name); ++i) out.name[i] = static_cast<wchar_t>(name[i]);
    out.name[i] = L'\0';
    return true;
}

void give_initial_state(int id, const LayoutRecord& r, HWND control) {
    switch (r.kind) {
        case KIND_RADIO:
            if (radio_checked(id, setting(r.index))) SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
            break;
        case KIND_CHECK:
            if (setting(r.index) != 0) SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
            break;
        case KIND_LABEL_SLOT:
        case KIND_EDIT:
            set_window_text_932(control, text_slot(r.index));
            break;
        case KIND_LABEL_DEC:
        case KIND_LABEL_HEX:
            set_window_text_932(control, format_setting(r.kind, setting(r.index)).text);
            break;
        default:
            break;
    }
}

}  // namespace

void create_controls(HWND window, HINSTANCE instance) {
    for (int id = 0; id < LAYOUT_COUNT; ++id) {
        const LayoutRecord& r = layout_table[id];
        WideClass window_class;
        if (!wide_class(r.kind, window_class)) continue;
        PixelRect p = cell_to_pixels(r, cell);
        HWND control = CreateWindowExW(0, window_class.name, L" ", r.style, p.left, p.top, p.right - p.left,
                                       p.bottom - p.top, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       instance, nullptr);
        control_window[id] = control;
        if (control == nullptr) continue;
        give_initial_state(id, r, control);
        if (r.kind != KIND_RADIO && r.aux == AUX_CREATED_DISABLED) EnableWindow(control, FALSE);
    }
}

void apply_language() {
    const int language = current_language();
    for (int id = 0; id < LAYOUT_COUNT; ++id) {
        const LayoutRecord& r = layout_table[id];
        bool takes_table_text = r.kind == KIND_BUTTON || r.kind == KIND_RADIO || r.kind == KIND_CHECK ||
                                r.kind == KIND_GROUP || r.kind == KIND_LABEL;
        if (takes_table_text && control_window[id] != nullptr) set_window_text_932(control_window[id], r.text[language]);
    }
}

void collect_edit_texts() {
    WideText wide;
    static char bytes[TEXT_SLOT_SIZE];
    for (int id = 0; id < LAYOUT_COUNT; ++id) {
        const LayoutRecord& r = layout_table[id];
        if (r.kind != KIND_EDIT || control_window[id] == nullptr) continue;
        int n = GetWindowTextW(control_window[id], wide.text, static_cast<int>(TEXT_SLOT_SIZE));
        wide.text[n > 0 ? n : 0] = L'\0';
        from_wide(wide.text, bytes, sizeof bytes);
        set_text_slot(r.index, bytes);
    }
}

}  // namespace tapwell

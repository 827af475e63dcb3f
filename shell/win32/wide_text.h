// Ring: shell. The program's texts are code page 932 bytes (Japanese) or
// ASCII; the window shows them through the wide-character functions, so the
// Japanese characters appear whatever the system's own code page is.
#pragma once

#include <windows.h>

#include <cstddef>

#include "jobs/shared_state.h"

namespace tapwell {

struct WideText {
    wchar_t text[TEXT_SLOT_SIZE];
};

// Converts a zero-terminated code page 932 text (cut to what fits).
void to_wide(const char* cp932, WideText& out);
// Converts back into a slot-sized buffer, cut at a whole character.
void from_wide(const wchar_t* wide, char* out, std::size_t out_size);

// A control's text from code page 932 bytes.
void set_window_text_932(HWND window, const char* cp932);
int message_box_932(HWND owner, const char* cp932_text, const wchar_t* caption, UINT type);

}  // namespace tapwell

// Ring: shell. See wide_text.h.
#include "shell/win32/wide_text.h"

#include <cstring>

namespace tapwell {

namespace {
constexpr UINT CP_JAPANESE = 932;

bool is_lead_byte(unsigned char b) { return (b >= 0x81 && b <= 0x9f) || (b >= 0xe0 && b <= 0xfc); }
}  // namespace

void to_wide(const char* cp932, WideText& out) {
    out.text[0] = L'\0';
    if (cp932 == nullptr) return;
    int n = MultiByteToWideChar(CP_JAPANESE, 0, cp932, static_cast<int>(strnlen(cp932, TEXT_SLOT_SIZE - 1)),
                                out.text, static_cast<int>(TEXT_SLOT_SIZE - 1));
    out.text[n > 0 ? n : 0] = L'\0';
}

void from_wide(const wchar_t* wide, char* out, std::size_t out_size) {
    if (out_size == 0) return;
    // A Japanese character takes two bytes: convert into room for all of them,
    // then cut the bytes at the last whole character that fits.
    static char wide_bytes[2 * TEXT_SLOT_SIZE + 2];
    int n = WideCharToMultiByte(CP_JAPANESE, 0, wide, -1, wide_bytes, static_cast<int>(sizeof wide_bytes), nullptr,
                                nullptr);
    std::size_t length = n > 0 ? static_cast<std::size_t>(n - 1) : 0;
    std::size_t keep = 0;
    while (keep < length) {
        std::size_t step = is_lead_byte(static_cast<unsigned char>(wide_bytes[keep])) ? 2 : 1;
        if (keep + step > out_size - 1 || keep + step > length) break;
        keep += step;
    }
    std::memcpy(out, wide_bytes, keep);
    out[keep] = '\0';
}

void set_window_text_932(HWND window, const char* cp932) {
    WideText wide;
    to_wide(cp932, wide);
    SetWindowTextW(window, wide.text);
}

int message_box_932(HWND owner, const char* cp932_text, const wchar_t* caption, UINT type) {
    WideText wide;
    to_wide(cp932_text, wide);
    return MessageBoxW(owner, wide.text, caption, type);
}

}  // namespace tapwell

// Ring: cli. See console_text.h.
#include "cli/console_text.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <iconv.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <vector>

namespace tapwell::cli {

bool is_terminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

#ifdef _WIN32

namespace {
std::wstring cp932_to_wide(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}
}  // namespace

std::string cp932_to_utf8(std::string_view text) {
    std::wstring wide = cp932_to_wide(text);
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

void write_console_text(std::FILE* stream, std::string_view text) {
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        // A real console takes UTF-16 whatever its code page.
        std::fflush(stream);
        std::wstring wide = cp932_to_wide(text);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::string utf8 = cp932_to_utf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

#else

std::string cp932_to_utf8(std::string_view text) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
    std::string out;
    std::vector<char> in(text.begin(), text.end());
    char* src = in.data();
    std::size_t src_left = in.size();
    char chunk[256];
    while (src_left > 0) {
        char* dst = chunk;
        std::size_t dst_left = sizeof chunk;
        std::size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
        out.append(chunk, static_cast<std::size_t>(dst - chunk));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // Keep a byte that does not convert and go on after it.
            out.push_back(*src);
            ++src;
            --src_left;
        }
    }
    iconv_close(cd);
    return out;
}

void write_console_text(std::FILE* stream, std::string_view text) {
    std::string utf8 = cp932_to_utf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

#endif

}  // namespace tapwell::cli

// Ring: tests. See driver_support.h.
#include "tests/gui/driver_support.h"

#include <winver.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace gui {

namespace {

std::wstring widen(const std::string& s) {
    std::wstring w(s.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, &w[0], static_cast<int>(w.size()));
    w.resize(n > 0 ? n - 1 : 0);
    return w;
}

std::string narrow(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
    s.resize(n > 0 ? n - 1 : 0);
    return s;
}

struct DialogSearch {
    DWORD process_id;
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK visit(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->process_id || !IsWindowVisible(window)) return TRUE;
    wchar_t cls[64];
    GetClassNameW(window, cls, 64);
    if (std::wstring(cls) != L"#32770") return TRUE;
    if ((*search->match)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool launch(App& app, const char* working_dir) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string program = current_directory() + "\\Tapwell.exe";
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, working_dir, &si, &app.process)) {
        return false;
    }
    for (int i = 0; i < 600; ++i) {
        HWND w = FindWindowW(L"Tapwell", nullptr);
        if (w != nullptr && IsWindowVisible(w)) {
            app.main = w;
            Sleep(300);
            return true;
        }
        if (!running(app)) return false;
        Sleep(50);
    }
    return false;
}

bool running(const App& app) {
    return app.process.hProcess != nullptr && WaitForSingleObject(app.process.hProcess, 0) == WAIT_TIMEOUT;
}

int wait_exit(App& app, DWORD timeout_ms) {
    if (app.process.hProcess == nullptr) return -1;
    if (WaitForSingleObject(app.process.hProcess, timeout_ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(app.process.hProcess, &code);
    CloseHandle(app.process.hProcess);
    CloseHandle(app.process.hThread);
    app.process = {};
    app.main = nullptr;
    return static_cast<int>(code);
}

void kill_if_running(App& app) {
    if (running(app)) {
        // Only a test that already failed gets here; the program is not left behind.
        TerminateProcess(app.process.hProcess, 99);
        wait_exit(app, 5000);
    }
}

HWND control(const App& app, int id) { return GetDlgItem(app.main, id); }
bool enabled(const App& app, int id) { return IsWindowEnabled(control(app, id)) != 0; }
bool checked(const App& app, int id) {
    return SendMessageW(control(app, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring wide_text_of(HWND window) {
    LRESULT n = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    n = SendMessageW(window, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(&w[0]));
    w.resize(static_cast<size_t>(n));
    return w;
}

std::string text_of(HWND window) { return narrow(wide_text_of(window)); }

void set_text(const App& app, int id, const std::string& ascii) {
    std::wstring w = widen(ascii);
    SendMessageW(control(app, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
}

bool click(const App& app, int id) {
    HWND button = control(app, id);
    if (button == nullptr || !IsWindowEnabled(button)) return false;
    WPARAM command = MAKEWPARAM(id, BN_CLICKED);
    // Buttons that open a modal box or dialog are posted (a sent message would
    // wait until the box is answered); the others are sent, so their effect is
    // complete when this returns, however slow the machine.
    const bool opens_modal = id == 4 || id == 7 || id == 15 || id == 41;
    if (opens_modal) {
        PostMessageW(app.main, WM_COMMAND, command, reinterpret_cast<LPARAM>(button));
        Sleep(150);
        return true;
    }
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(app.main, WM_COMMAND, command, reinterpret_cast<LPARAM>(button), SMTO_NORMAL, 20000,
                               &result) != 0;
}

bool wait_idle(const App& app, DWORD timeout_ms) {
    Sleep(200);
    for (DWORD waited = 0; waited < timeout_ms && running(app); waited += 50) {
        if (enabled(app, 14) && enabled(app, 40)) return true;
        Sleep(50);
    }
    return false;
}

HWND wait_dialog(const App& app, const std::function<bool(HWND)>& match, DWORD timeout_ms) {
    for (DWORD waited = 0; waited < timeout_ms && running(app); waited += 50) {
        DialogSearch search{app.process.dwProcessId, &match, nullptr};
        EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            Sleep(100);
            return search.found;
        }
        Sleep(50);
    }
    return nullptr;
}

HWND wait_message_box(const App& app, const wchar_t* caption, DWORD timeout_ms) {
    return wait_dialog(
        app,
        [caption](HWND w) {
            if (GetDlgItem(w, 0xFFFF) == nullptr) return false;
            return caption == nullptr || wide_text_of(w) == caption;
        },
        timeout_ms);
}

namespace {
BOOL CALLBACK find_name_edit(HWND window, LPARAM data) {
    wchar_t cls[16];
    GetClassNameW(window, cls, 16);
    int id = GetDlgCtrlID(window);
    if (lstrcmpiW(cls, L"Edit") == 0 && (id == 0x480 || id == 0x47c)) {  // edt1, or the edit inside cmb13
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND file_name_edit(HWND dialog) {
    HWND edit = nullptr;
    EnumChildWindows(dialog, find_name_edit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

HWND wait_save_dialog(const App& app, DWORD timeout_ms) {
    return wait_dialog(app, [](HWND w) { return file_name_edit(w) != nullptr; }, timeout_ms);
}

std::string message_box_text(HWND box) { return text_of(GetDlgItem(box, 0xFFFF)); }

void press(HWND dialog, int button_id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button_id)));
    Sleep(200);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string text = s.str(), out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

bool file_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string current_directory() {
    char dir[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, dir);
    return dir;
}

namespace {

std::string version_text(const std::vector<char>& block, const wchar_t* name) {
    std::wstring key = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || value == nullptr) return {};
    return narrow(static_cast<const wchar_t*>(value));
}

// The one actctx setting, read the way the loader reads it.
std::string manifest_setting(HANDLE context, const wchar_t* ns, const wchar_t* name) {
    using Query = BOOL(WINAPI*)(DWORD, HANDLE, const wchar_t*, const wchar_t*, wchar_t*, SIZE_T, SIZE_T*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryActCtxSettingsW")));
    wchar_t value[64] = L"";
    SIZE_T written = 0;
    if (query == nullptr || !query(0, context, ns, name, value, 64, &written)) return {};
    return narrow(value);
}

}  // namespace

VersionResource read_version_resource(const std::string& path) {
    VersionResource v;
    std::wstring file = widen(path);
    DWORD size = GetFileVersionInfoSizeW(file.c_str(), nullptr);
    if (size == 0) return v;
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return v;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr) return v;
    v.found = true;
    v.numbers[0] = HIWORD(fixed->dwFileVersionMS);
    v.numbers[1] = LOWORD(fixed->dwFileVersionMS);
    v.numbers[2] = HIWORD(fixed->dwFileVersionLS);
    v.numbers[3] = LOWORD(fixed->dwFileVersionLS);
    v.product_name = version_text(block, L"ProductName");
    v.product_version = version_text(block, L"ProductVersion");
    v.file_version = version_text(block, L"FileVersion");
    v.description = version_text(block, L"FileDescription");
    v.copyright = version_text(block, L"LegalCopyright");
    return v;
}

ManifestSettings read_manifest(const std::string& path) {
    ManifestSettings m;
    std::wstring file = widen(path);
    HMODULE image = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (image != nullptr) {
        HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
        HGLOBAL loaded = found != nullptr ? LoadResource(image, found) : nullptr;
        const char* bytes = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
        if (bytes != nullptr) m.text.assign(bytes, SizeofResource(image, found));
        FreeLibrary(image);
    }
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = file.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&request);
    if (context == INVALID_HANDLE_VALUE) return m;
    m.dpi_aware = manifest_setting(context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware");
    m.dpi_awareness =
        manifest_setting(context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness");
    ReleaseActCtx(context);
    return m;
}

unsigned window_dpi(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    auto get = reinterpret_cast<GetDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return get != nullptr ? get(window) : 0;
}

void screenshot(const App& app, const char* name) {
    SetForegroundWindow(app.main);
    RedrawWindow(app.main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(700);
    RECT r;
    GetWindowRect(app.main, &r);
    std::string done = std::string(name) + ".shot";
    DeleteFileA(done.c_str());
    std::printf("SHOT %s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
    for (int i = 0; i < 200 && !file_exists(done); ++i) Sleep(100);
    DeleteFileA(done.c_str());
}

}  // namespace gui

// Ring: shell. The buttons of the main window. The enabling is the only guard
// of a command; no handler asks whether its command is allowed now.
#include <windows.h>
#include <commdlg.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "jobs/job_frame.h"
#include "runtime/log_stream.h"
#include "jobs/status_text.h"
#include "jobs/system_texts.h"
#include "shell/win32/wide_text.h"
#include "shell/window_geometry.h"
#include "shell/win32/window_state.h"

namespace tapwell {

namespace {

void toggle_language() {
    set_setting(SET_LANGUAGE, toggled_language(setting(SET_LANGUAGE)));
    apply_language();
}

void restore_default_size(HWND window) {
    WindowSize s = default_window_size({cell.char_width, cell.line_height});
    SetWindowPos(window, HWND_TOP, 0, 0, s.width, s.height, SWP_NOMOVE | SWP_NOOWNERZORDER);
}

// The log path is kept in the system's own code page, as the save dialog gives
// it and the runtime opens it.
constexpr std::size_t LOG_DIALOG_PATH_SIZE = 1000;  // the save dialog's file name: 999 characters and a zero
constexpr std::size_t LOG_DIALOG_TITLE_SIZE = 63;

void select_log_file(HWND window) {
    static char file_name[LOG_DIALOG_PATH_SIZE];
    static char file_title[LOG_DIALOG_TITLE_SIZE];
    // A stored path too long for the dialog's buffer (only an edited settings
    // file holds one) is not offered cut: a cut path names another file.
    const char* offered = text_slot(SLOT_LOG_PATH);
    const std::size_t length = std::strlen(offered);
    if (length < sizeof file_name) {
        std::memcpy(file_name, offered, length + 1);
    } else {
        file_name[0] = '\0';
    }
    file_title[0] = '\0';
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window;
    ofn.lpstrFilter = "*.*\0\0";  // with the literal's own zero: the six bytes *.* 0 0 0
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file_name;
    ofn.nMaxFile = sizeof file_name;
    ofn.lpstrFileTitle = file_title;
    ofn.nMaxFileTitle = sizeof file_title;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    if (!GetSaveFileNameA(&ofn)) return;
    set_text_slot(SLOT_LOG_PATH, file_name);
    if (log_open(file_name)) {
        apply_log_transition(LogEvent::opened, enable_control);
    } else {
        message_box_932(window, message_text(MSG_CANNOT_CREATE_OUTPUT), L"Open error", MB_OK);
    }
}

void end_logging(HWND window) {
    apply_log_transition(LogEvent::closed, enable_control);
    close_log_and_report(window);
}

void confirm_exit(HWND window) {
    if (message_box_932(window, message_text(MSG_REALLY_EXIT), L"Exit", MB_YESNO) != IDYES) return;
    // The destroy handling saves the settings and ends the message loop; the
    // window itself goes with the process.
    SendMessageW(window, WM_DESTROY, 0, 0);
}

void choose_mode(int id) {
    const LayoutRecord& r = layout_table[id];
    RadioChange c = radio_change(id, setting(r.index));
    if (c.clear_id >= 0 && control_window[c.clear_id] != nullptr) {
        SendMessageW(control_window[c.clear_id], BM_SETCHECK, BST_UNCHECKED, 0);
    }
    set_setting(r.index, c.value);
    if (control_window[c.set_id] != nullptr) SendMessageW(control_window[c.set_id], BM_SETCHECK, BST_CHECKED, 0);
}

void toggle_check(int id) {
    const LayoutRecord& r = layout_table[id];
    bool on = setting(r.index) == 0;
    set_setting(r.index, on ? 1 : 0);
    SendMessageW(control_window[id], BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

void start_job(const JobStart& start) {
    collect_edit_texts();
    if (!start_worker(start)) return;
    // Until the UI thread returns to its message loop no end routine of the job
    // can run, so these changes always come first.
    apply_enabling(start.started, enable_control);
}

void abort_job() {
    if (message_box_932(main_window, message_text(MSG_REALLY_ABORT), L"Abort", MB_YESNO) != IDYES) return;
    // Nothing is written when the job ended by itself while the question was open.
    if (!abort_running_job([] { wait_for_worker(); })) return;
    apply_enabling(running_job->finished, enable_control);
    // A log that failed while the job ran: its abort text could not be written.
    if (log_failed()) end_failed_log(main_window);
}

void end_failed_log(HWND window) {
    apply_log_transition(LogEvent::closed, enable_control);
    close_log_and_report(window);
}

void close_log_and_report(HWND owner) {
    if (!log_is_open()) return;  // a failure already reported closed it
    log_close();
    std::string reason;
    if (!log_failed(&reason)) return;
    // The settings keep the path: Log file select offers it again.
    const std::string text = log_write_error[current_language()] + reason;
    status_set(text);
    if (owner != nullptr) InvalidateRect(owner, nullptr, TRUE);
    message_box_932(owner, text.c_str(), L"Write error", MB_OK);
}

LRESULT on_command(HWND window, WPARAM wparam) {
    if (HIWORD(wparam) != 0) return 0;  // edit notifications: not even a repaint
    const int id = LOWORD(wparam);
    switch (command_action(id)) {
        case CommandAction::language: toggle_language(); break;
        case CommandAction::default_size: restore_default_size(window); break;
        case CommandAction::log_select: select_log_file(window); break;
        case CommandAction::log_end: end_logging(window); break;
        case CommandAction::exit: confirm_exit(window); break;
        case CommandAction::start_job: start_job(*job_start_for(id)); break;
        case CommandAction::abort_job: abort_job(); break;
        case CommandAction::status_report: report_status(); break;
        case CommandAction::radio: choose_mode(id); break;
        case CommandAction::check: toggle_check(id); break;
        case CommandAction::none: break;
    }
    InvalidateRect(window, nullptr, TRUE);
    return 0;
}

}  // namespace tapwell

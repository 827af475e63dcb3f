// Ring: shell. The window program's own process-wide state and its handlers.
// Everything here belongs to the UI thread, except that the worker reads
// main_window and control_window (filled once at creation) through the front end.
#pragma once

#include <windows.h>

#include "jobs/front_end.h"
#include "shell/layout_table.h"
#include "shell/run_control.h"
#include "shell/settings_file.h"

namespace tapwell {

extern HWND main_window;
extern HWND control_window[LAYOUT_COUNT];
extern CellGeometry cell;  // char_width, line_height, scroll_col, scroll_row
extern char settings_path[SETTINGS_PATH_SIZE];
extern HANDLE worker_thread;

FrontEnd& window_front_end();
// The enabling's EnableControl for the window's controls (UI thread).
void enable_control(int control_id, bool enabled);
// The start entry of the job the worker runs (or ran last); UI thread.
extern const JobStart* running_job;

// main_window.cpp
LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT on_create(HWND window, const CREATESTRUCTW* creation);
LRESULT on_size(HWND window, int width, int height);
LRESULT on_vscroll(HWND window, int code);
LRESULT on_hscroll(HWND window, int code);
LRESULT on_destroy(HWND window);
LRESULT on_job_end(JobOutcome outcome);
// paint.cpp
LRESULT on_paint(HWND window);
// controls.cpp
void create_controls(HWND window, HINSTANCE instance);
void apply_language();
void collect_edit_texts();
// commands.cpp
LRESULT on_command(HWND window, WPARAM wparam);
void start_job(const JobStart& start);
void abort_job();
// A log that can no longer be written: the state End of logging leaves, then
// the log closed and the failure told (status line and a "Write error" box).
void end_failed_log(HWND window);
// Closes an open log; when a write, flush or close of it failed, says so in the
// status line and a "Write error" box owned by `owner` (may be null).
void close_log_and_report(HWND owner);
// settings_win32.cpp
void load_settings();
void save_settings(HWND window);
// worker.cpp
// Starts the job's worker; false (no job running) when no thread could be made.
bool start_worker(const JobStart& start);
// Waits until the worker thread has returned while still serving messages sent
// to this thread (the worker may be waiting in SendMessage for the result box),
// then closes its handle. Nothing when no worker exists.
void wait_for_worker();

}  // namespace tapwell

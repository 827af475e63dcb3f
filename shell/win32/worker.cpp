// Ring: shell. The one worker thread. It is started with the runtime's thread
// creation and never killed: Abort and Exit set the stop flag and wait here.
// A job that ends by itself posts its outcome to the UI thread, which runs the
// end routine; a stopped job posts nothing, for whoever stopped it ends it.
#include <process.h>

#include <cstdint>

#include "jobs/job_control.h"
#include "shell/win32/window_messages.h"
#include "shell/win32/window_state.h"

namespace tapwell {

HANDLE worker_thread = nullptr;
const JobStart* running_job = nullptr;

namespace {

unsigned __stdcall worker_main(void* argument) {
    const JobStart& start = *static_cast<const JobStart*>(argument);
    const JobOutcome outcome = run_job(start.job, window_front_end());
    if (outcome != JobOutcome::stopped) {
        PostMessageW(main_window, WM_TAPWELL_JOB_END, static_cast<WPARAM>(outcome), 0);
    }
    return 0;
}

}  // namespace

bool start_worker(const JobStart& start) {
    running_job = &start;
    begin_started_job(start.run_state);
    std::uintptr_t handle = _beginthreadex(nullptr, 0, worker_main, const_cast<JobStart*>(&start), 0, nullptr);
    if (handle == 0) {
        finish_job();
        return false;
    }
    worker_thread = reinterpret_cast<HANDLE>(handle);
    return true;
}

void wait_for_worker() {
    HANDLE thread = worker_thread;
    if (thread == nullptr) return;
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1) break;  // the thread has returned (or the wait failed)
        MSG m;
        PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // serves sent messages
    }
    CloseHandle(thread);
    if (worker_thread == thread) worker_thread = nullptr;
}

}  // namespace tapwell

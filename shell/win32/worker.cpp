// Ring: shell. The one worker thread. It is started with the runtime's thread
// creation and never killed: Abort and Exit set the stop flag and wait here.
#include <process.h>

#include <cstdint>

#include "jobs/job_control.h"
#include "shell/win32/window_state.h"

namespace tapwell {

HANDLE worker_thread = nullptr;

namespace {

JobFunction running_job = nullptr;

unsigned __stdcall worker_main(void*) {
    running_job(window_front_end());
    return 0;
}

}  // namespace

bool start_worker(JobFunction job) {
    running_job = job;
    mark_job_started();
    std::uintptr_t handle = _beginthreadex(nullptr, 0, worker_main, nullptr, 0, nullptr);
    if (handle == 0) {
        mark_job_over();
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

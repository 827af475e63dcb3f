// Ring: jobs. The seam: what a running job asks of whoever shows it, beyond the
// log file. Implemented by the window program (shell/win32), the console
// (jobs/quiet_front_end.h) and the recording front end of the tests. A job
// says nothing of controls: how it ended is its function's return value
// (job_outcome.h), and the front end that started it applies its own end.
#pragma once

namespace tapwell {

class FrontEnd {
public:
    // Shows the whole result text in the result box and returns only once it is
    // shown, so the worker may go on writing the slot afterwards.
    virtual void show_result(const char* text) = 0;
    // Asks for the whole window to be repainted; never waits.
    virtual void request_repaint() = 0;

protected:
    ~FrontEnd() = default;
};

}  // namespace tapwell

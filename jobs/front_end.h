// Ring: jobs. The seam: everything a job does to the world beyond the log file.
// Implemented by the window program (shell/), the console (cli/) and the
// recording front end of the tests. Keep it this small.
#pragma once

namespace tapwell {

enum class EndRoutine { search, generate };

class FrontEnd {
public:
    // Shows the whole result text in the result box and returns only once it is
    // shown, so the worker may go on writing the slot afterwards.
    virtual void show_result(const char* text) = 0;
    // Asks for the whole window to be repainted; never waits.
    virtual void request_repaint() = 0;
    virtual void set_control_enabled(int control_id, bool enabled) = 0;
    // A job that ended by itself hands its end routine over; the front end runs
    // it (run_end_routine) on its own thread, after the start command's own
    // changes have taken effect.
    virtual void end_job(EndRoutine routine) = 0;

protected:
    ~FrontEnd() = default;
};

}  // namespace tapwell

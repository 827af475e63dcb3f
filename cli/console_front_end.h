// Ring: cli. The console's side of the seam: there is no window, so the result
// box and the enabling have nothing to show, and a job's end routine runs at
// once (the console starts the worker only after its own changes are made).
#pragma once

#include "jobs/front_end.h"

namespace tapwell::cli {

class ConsoleFrontEnd final : public FrontEnd {
public:
    void show_result(const char*) override {}
    void request_repaint() override {}
    void set_control_enabled(int, bool) override {}
    void end_job(EndRoutine routine) override;
};

}  // namespace tapwell::cli

// Ring: jobs. A front end that shows nothing: for running a job straight
// through where nobody watches (the console, the benchmarks, the fuzz targets).
#pragma once

#include "jobs/front_end.h"

namespace tapwell {

class QuietFrontEnd final : public FrontEnd {
public:
    void show_result(const char*) override {}
    void request_repaint() override {}
};

}  // namespace tapwell

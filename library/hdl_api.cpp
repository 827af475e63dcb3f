// Ring: library. hdl_text, hdl_size and hdl_checker_lock_words of
// tapwell/hdl.hpp: the request checked once, then the language's writer.
#include "library/hdl_design.h"
#include "library/hdl_writer.h"
#include "tapwell/hdl.hpp"

namespace tapwell {

std::string hdl_text(const HdlRequest& request) {
    const HdlDesign design = hdl_design(request);
    switch (request.language) {
        case HdlLanguage::vhdl: return vhdl_text(design);
        case HdlLanguage::c: return c_text(design);
        default: return verilog_text(design);
    }
}

HdlSize hdl_size(const HdlRequest& request) { return net_size(hdl_design(request).net); }

}  // namespace tapwell

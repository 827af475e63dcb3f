// Ring: library. See tapwell/version.hpp.
#include "tapwell/version.hpp"

namespace tapwell {

std::string_view version() noexcept { return TAPWELL_VERSION; }

}  // namespace tapwell

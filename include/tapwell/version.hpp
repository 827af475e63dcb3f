// tapwell: the library's version.
#pragma once

#include <string_view>

#include "tapwell/export.hpp"

namespace tapwell {

// The version of the library linked in, "major.minor.patch" (the project's
// version, the same that tapwell-cli --version prints).
TAPWELL_API std::string_view version() noexcept;

}  // namespace tapwell

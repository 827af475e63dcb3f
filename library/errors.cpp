// Ring: library. See tapwell/errors.hpp. The destructors are defined here, out
// of line, so that each exception's type information lives once, in the
// library: a program that catches what a shared libtapwell throws compares
// against the same type.
#include "tapwell/errors.hpp"

namespace tapwell {

Error::~Error() = default;
ParseError::~ParseError() = default;
InvalidArgument::~InvalidArgument() = default;
Stopped::~Stopped() = default;

}  // namespace tapwell

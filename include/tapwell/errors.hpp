// tapwell: the exceptions the library throws. Their messages are the words
// tapwell-cli prints for the same fault, without the program's name.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include "tapwell/export.hpp"

namespace tapwell {

// Every error of the library derives from this one.
class TAPWELL_API Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~Error() override;
};

// A text that cannot be read: the message names the character and its
// position, counted from 1 (position() gives it; 0 when the fault is the
// text as a whole: an empty one, one too long, or one whose polynomial is no
// register's, such as a constant term of 0).
class TAPWELL_API ParseError : public Error {
public:
    ParseError(const std::string& message, std::size_t position) : Error(message), position_(position) {}
    ~ParseError() override;
    std::size_t position() const noexcept { return position_; }

private:
    std::size_t position_;
};

// Parameters the computation refuses: a degree outside its range, a
// polynomial that is not primitive where one must be, counts that do not fit.
class TAPWELL_API InvalidArgument : public Error {
public:
    using Error::Error;
    ~InvalidArgument() override;
};

// The call's stop token asked it to stop before it was done. Results handed
// over before (through a callback) stand; a result container is left as far
// as it was filled.
class TAPWELL_API Stopped : public Error {
public:
    Stopped() : Error("stopped") {}
    ~Stopped() override;
};

}  // namespace tapwell

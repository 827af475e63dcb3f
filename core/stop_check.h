// Ring: core. How a long kernel learns that its caller wants it to give up:
// the caller's std::stop_token (or a plain function, which tests use to
// count the asking), asked at bounded intervals between pieces of work. An
// empty one never stops. A copy is cheap (it shares the token's state), so
// kernels take it by value.
#pragma once

#include <cstddef>
#include <stop_token>
#include <utility>

namespace tapwell {

class StopCheck {
public:
    StopCheck() = default;
    StopCheck(std::nullptr_t) {}
    StopCheck(std::stop_token token) : token_(std::move(token)) {}
    StopCheck(bool (*ask)()) : ask_(ask) {}

    bool operator()() const { return ask_ != nullptr ? ask_() : token_.stop_requested(); }
    // Whether it can ever say stop: a kernel with none skips the asking.
    friend bool operator==(const StopCheck& check, std::nullptr_t) {
        return check.ask_ == nullptr && !check.token_.stop_possible();
    }

private:
    std::stop_token token_;
    bool (*ask_)() = nullptr;
};

}  // namespace tapwell

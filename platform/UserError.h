#pragma once

// The one error type of the program. Every module's error derives from it,
// so a caller that only shows the failure (the window's error box, the
// command line) catches this type alone.

#include <stdexcept>
#include <string>

namespace platform {

// A failure to report to the user. what() is the Shift_JIS message shown
// as it is; SystemError() is the errno value behind it, 0 when there is none.
class UserError : public std::runtime_error {
public:
    explicit UserError(const std::string& message, int systemError = 0)
        : std::runtime_error(message)
        , systemError_(systemError)
    {
    }
    explicit UserError(const char* message, int systemError = 0)
        : std::runtime_error(message)
        , systemError_(systemError)
    {
    }

    int SystemError() const noexcept { return systemError_; }

private:
    int systemError_;
};

} // namespace platform

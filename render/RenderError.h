#pragma once

#include "platform/UserError.h"

#include <string>

namespace render {

// An error that ends a draw. what() is the message the user sees, as
// Shift_JIS bytes, exactly as the window's error box shows it.
class RenderError : public platform::UserError {
public:
    using UserError::UserError;
};

// "JPEG エラー #%d"
std::string JpegErrorMessage(int code);

} // namespace render

#pragma once

#include <stdexcept>
#include <string>

namespace render {

// An error that ends a draw. what() is the message the user sees, as
// Shift_JIS bytes, exactly as the window's error box shows it.
class RenderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "JPEG エラー #%d"
std::string JpegErrorMessage(int code);
// "ファイル "%s" は開けません。%s" with the full file name
std::string CannotOpenMessage(const std::string& path, const std::string& reason);
// "ファイル "%s" を作成できません。%s" with the full file name
std::string CannotCreateMessage(const std::string& path, const std::string& reason);
// The system's reason for an errno value, in Japanese.
std::string SystemErrorText(int error);

} // namespace render

#include "render/RenderError.h"

#include "platform/FileIo.h"
#include "platform/SystemErrorText.h"

namespace render {

std::string JpegErrorMessage(int code)
{
    // "JPEG エラー #"
    return std::string("JPEG \x83\x47\x83\x89\x81\x5b #") + std::to_string(code);
}

std::string CannotOpenMessage(const std::string& path, const std::string& reason)
{
    return platform::CannotOpenMessage(path, reason);
}

std::string CannotCreateMessage(const std::string& path, const std::string& reason)
{
    return platform::CannotCreateMessage(path, reason);
}

std::string SystemErrorText(int error)
{
    return platform::SystemErrorText(error);
}

} // namespace render

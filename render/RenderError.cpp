#include "render/RenderError.h"

#include "platform/FileIo.h"
#include "platform/SystemErrorText.h"
#include "render/Texts.h"

namespace render {

std::string JpegErrorMessage(int code)
{
    return texts::kJpegError + std::to_string(code);
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

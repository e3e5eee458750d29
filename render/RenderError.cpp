#include "render/RenderError.h"

#include "render/Texts.h"

namespace render {

std::string JpegErrorMessage(int code)
{
    return texts::kJpegError + std::to_string(code);
}

} // namespace render

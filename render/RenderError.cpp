#include "render/RenderError.h"

namespace render {

std::string JpegErrorMessage(int code)
{
    // "JPEG エラー #"
    return std::string("JPEG \x83\x47\x83\x89\x81\x5b #") + std::to_string(code);
}

} // namespace render

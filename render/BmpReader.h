#pragma once

#include "render/Canvas.h"

#include <string>
#include <string_view>

namespace render {

// Reads a Windows bitmap into a 24-bit canvas. Accepts what Windows writes:
// core (OS/2 1.x) and info headers up to V5; 1, 4 and 8 bits with a palette,
// RLE8 and RLE4; 16 and 32 bits with or without bit-field masks; 24 bits;
// bottom-up and top-down rows. Anything else, or a truncated file, raises
// RenderError with the invalid-bitmap message.
Canvas ReadBmp(std::string_view file);

} // namespace render

#pragma once

#include "render/Canvas.h"

#include <string>
#include <string_view>
#include <vector>

namespace render {

// The canvas as an uncompressed 24-bit BMP file (BITMAPINFOHEADER, rows
// bottom-up, each padded to 4 bytes with zeros): the header, then the
// pieces that follow it in order, each row's pixels and its padding. The
// pieces point into the canvas, which must outlive them; nothing of the
// picture is copied.
struct BmpFile {
    std::string header;
    std::vector<std::string_view> pieces;
};
BmpFile BmpOf(const Canvas& canvas);

} // namespace render

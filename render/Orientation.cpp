#include "render/Orientation.h"

#include "render/Picture.h"

#include <cstdint>

namespace render {
namespace {

unsigned Read16(std::string_view d, std::size_t at, bool big)
{
    const unsigned a = static_cast<std::uint8_t>(d[at]), b = static_cast<std::uint8_t>(d[at + 1]);
    return big ? a << 8 | b : b << 8 | a;
}

std::uint32_t Read32(std::string_view d, std::size_t at, bool big)
{
    return big ? Read16(d, at, true) << 16 | Read16(d, at + 2, true)
               : Read16(d, at + 2, false) << 16 | Read16(d, at, false);
}

// The orientation tag (0x0112) of the first image directory of Exif data
// (its TIFF header onwards); 1 when absent or unreadable.
int FromTiff(std::string_view tiff)
{
    if (tiff.size() < 8 || (tiff.substr(0, 2) != "MM" && tiff.substr(0, 2) != "II"))
        return 1;
    const bool big = tiff[0] == 'M';
    const std::uint32_t ifd = Read32(tiff, 4, big);
    if (ifd > tiff.size() - 2)
        return 1;
    const unsigned count = Read16(tiff, ifd, big);
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t entry = ifd + 2 + 12 * static_cast<std::size_t>(i);
        if (entry + 12 > tiff.size())
            break;
        if (Read16(tiff, entry, big) == 0x0112 && Read16(tiff, entry + 2, big) == 3) {
            const unsigned value = Read16(tiff, entry + 8, big);
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
        }
    }
    return 1;
}

} // namespace

int JpegOrientation(std::string_view d)
{
    if (d.size() < 4 || d.substr(0, 2) != "\xFF\xD8")
        return 1;
    // The markers before the first scan: APP1 "Exif" carries the tag.
    std::size_t at = 2;
    while (at + 4 <= d.size() && static_cast<std::uint8_t>(d[at]) == 0xFF) {
        const unsigned marker = static_cast<std::uint8_t>(d[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            break;
        const std::size_t length = Read16(d, at + 2, true);
        if (length < 2 || at + 2 + length > d.size())
            break;
        const std::string_view body = d.substr(at + 4, length - 2);
        if (marker == 0xE1 && body.size() > 6 && body.substr(0, 6) == std::string_view("Exif\0\0", 6))
            return FromTiff(body.substr(6));
        at += 2 + length;
    }
    return 1;
}

PixelView Oriented(const PixelView& v, int orientation)
{
    if (orientation <= 1 || orientation > 8 || v.Empty())
        return v;
    // The stored pixel shown at (0, 0), and how far one step right and one
    // step down move in the stored picture.
    const std::ptrdiff_t right = v.xStep, down = v.yStep;
    const std::ptrdiff_t lastX = right * (v.width - 1), lastY = down * (v.height - 1);
    PixelView shown = v;
    if (SwapsSides(orientation)) {
        shown.width = v.height;
        shown.height = v.width;
    }
    switch (orientation) {
    case 2: // mirrored left to right
        shown = { v.origin + lastX, -right, down, v.width, v.height };
        break;
    case 3: // half a turn
        shown = { v.origin + lastX + lastY, -right, -down, v.width, v.height };
        break;
    case 4: // mirrored top to bottom
        shown = { v.origin + lastY, right, -down, v.width, v.height };
        break;
    case 5: // transposed
        shown = { v.origin, down, right, v.height, v.width };
        break;
    case 6: // a quarter clockwise: the stored left column is the top row
        shown = { v.origin + lastY, -down, right, v.height, v.width };
        break;
    case 7: // transposed the other way
        shown = { v.origin + lastX + lastY, -down, -right, v.height, v.width };
        break;
    default: // 8, a quarter anticlockwise: the stored right column is the top row
        shown = { v.origin + lastX, down, -right, v.height, v.width };
        break;
    }
    return shown;
}

} // namespace render

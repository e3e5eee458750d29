#pragma once

#include "render/Canvas.h"

#include <QImage>
#include <cstddef>
#include <cstdint>

namespace render {

// Read-only pixels with blue, green and red at byte offsets 0, 1 and 2 of
// each pixel, walked by steps: pixel (x, y) starts at
// origin + x * xStep + y * yStep. A canvas or a QImage of Qt's BGR888 form
// has 3-byte pixels, Qt's 32-bit RGB form 4 (the fourth unused); a picture
// shown turned or mirrored is the same memory walked with other steps.
struct PixelView {
    const std::uint8_t* origin = nullptr;
    std::ptrdiff_t xStep = 3;
    std::ptrdiff_t yStep = 0;
    int width = 0;
    int height = 0;

    bool Empty() const { return width <= 0 || height <= 0; }
    const std::uint8_t* Row(int y) const { return origin + yStep * y; }
    const std::uint8_t* At(int x, int y) const { return origin + yStep * y + xStep * x; }
    // Rows of plain 3-byte pixels, left to right: copied as they are.
    bool Packed() const { return xStep == 3; }
};

inline PixelView ViewOf(const Canvas& canvas)
{
    return { canvas.Data(), 3, static_cast<std::ptrdiff_t>(canvas.Stride()), canvas.Width(),
        canvas.Height() };
}

// The same pixels as shown with an Exif orientation (1 to 8: 6 turned a
// quarter clockwise, 8 a quarter anticlockwise, 3 half a turn, 2, 4, 5 and
// 7 mirrored); 5 to 8 swap width and height.
PixelView Oriented(const PixelView& stored, int orientation);

// The user's picture for one draw. fullWidth x fullHeight is the picture's
// own size as shown (after its orientation); the pixels may be a reduced
// decode of it. They are held either in a canvas (the JPEG, WebP and bitmap
// decoders) or in a QImage of Qt's 32-bit RGB or BGR888 form (Qt's readers;
// transparency already laid on the desktop colour).
struct Picture {
    int fullWidth = 0;
    int fullHeight = 0;
    Canvas image;
    QImage qtImage;
    int orientation = 1; // how the stored pixels are shown

    bool Empty() const { return fullWidth == 0 || fullHeight == 0; }
    PixelView View() const
    {
        if (qtImage.isNull())
            return Oriented(ViewOf(image), orientation);
        return Oriented(
            { qtImage.constBits(), qtImage.format() == QImage::Format_BGR888 ? 3 : 4,
                static_cast<std::ptrdiff_t>(qtImage.bytesPerLine()), qtImage.width(), qtImage.height() },
            orientation);
    }
};

} // namespace render

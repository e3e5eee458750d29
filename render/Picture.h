#pragma once

#include "render/Canvas.h"

#include <QImage>
#include <cstddef>
#include <cstdint>

namespace render {

// Read-only pixels with blue, green and red at byte offsets 0, 1 and 2 of
// each pixel: a canvas row or a QImage of Qt's BGR888 form (3 bytes a
// pixel), or a QImage in Qt's 32-bit RGB form (4 bytes, the fourth unused).
struct PixelView {
    const std::uint8_t* data = nullptr;
    std::size_t stride = 0;
    int pixelBytes = 3;
    int width = 0;
    int height = 0;

    bool Empty() const { return width <= 0 || height <= 0; }
    const std::uint8_t* Row(int y) const { return data + stride * static_cast<std::size_t>(y); }
};

inline PixelView ViewOf(const Canvas& canvas)
{
    return { canvas.Data(), canvas.Stride(), 3, canvas.Width(), canvas.Height() };
}

// The user's picture for one draw. fullWidth x fullHeight is the picture's
// own size; the pixels may be a reduced decode of it. They are held either
// in a canvas (the JPEG, WebP and bitmap decoders) or in a QImage of Qt's
// 32-bit RGB or BGR888 form (Qt's readers; transparency already laid on
// the desktop colour).
struct Picture {
    int fullWidth = 0;
    int fullHeight = 0;
    Canvas image;
    QImage qtImage;

    bool Empty() const { return fullWidth == 0 || fullHeight == 0; }
    PixelView View() const
    {
        if (qtImage.isNull())
            return ViewOf(image);
        return { qtImage.constBits(), static_cast<std::size_t>(qtImage.bytesPerLine()),
            qtImage.format() == QImage::Format_BGR888 ? 3 : 4, qtImage.width(), qtImage.height() };
    }
};

} // namespace render

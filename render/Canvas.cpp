#include "render/Canvas.h"

#include "render/RenderError.h"
#include "render/Texts.h"

#include <cstring>

namespace render {

Canvas::Canvas(int width, int height, Init init)
{
    if (width < 0 || height < 0
        || static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPixels)
        throw RenderError(texts::kInvalidBitmap);
    width_ = width;
    height_ = height;
    stride_ = StrideFor(width);
    const std::size_t size = stride_ * static_cast<std::size_t>(height);
    // make_unique_for_overwrite leaves the bytes alone: a picture decoded
    // straight into the canvas need not pay for clearing it first.
    data_ = std::make_unique_for_overwrite<std::uint8_t[]>(size ? size : 1);
    if (init == Init::White)
        std::memset(data_.get(), 0xFF, size);
}

std::uint8_t* Canvas::Row(int y)
{
    if (y < 0 || y >= height_)
        throw RenderError(texts::kScanlineOutOfRange);
    return data_.get() + stride_ * static_cast<std::size_t>(y);
}

const std::uint8_t* Canvas::Row(int y) const
{
    if (y < 0 || y >= height_)
        throw RenderError(texts::kScanlineOutOfRange);
    return data_.get() + stride_ * static_cast<std::size_t>(y);
}

void Canvas::Fill(ColorRef color)
{
    if (Empty())
        return;
    const std::uint8_t b = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, r = color & 0xFF;
    std::uint8_t* first = data_.get();
    for (int x = 0; x < width_; ++x) {
        first[3 * x] = b;
        first[3 * x + 1] = g;
        first[3 * x + 2] = r;
    }
    for (int y = 1; y < height_; ++y)
        std::memcpy(first + stride_ * static_cast<std::size_t>(y), first, stride_);
}

} // namespace render

#include "render/Blend.h"

#include <algorithm>

namespace render {

void BlendRectangle(Canvas& canvas, std::int64_t left, std::int64_t top, std::int64_t width,
    std::int64_t height, int percent, bool towardWhite)
{
    const int r = percent % 101;
    if (r == 0)
        return; // every byte keeps its value
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t x1 = std::min<std::int64_t>(left + width, canvas.Width());
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(top + height, canvas.Height());
    if (x0 >= x1 || y0 >= y1)
        return;
    const int a = towardWhite ? 255 * r : 0;
    std::uint8_t table[256];
    for (int v = 0; v < 256; ++v)
        table[v] = static_cast<std::uint8_t>(std::clamp((v * (100 - r) + a) / 100, 0, 255));
    for (std::int64_t y = y0; y < y1; ++y) {
        std::uint8_t* p = canvas.Row(static_cast<int>(y)) + 3 * x0;
        std::uint8_t* const end = canvas.Row(static_cast<int>(y)) + 3 * x1;
        for (; p != end; ++p)
            *p = table[*p];
    }
}

} // namespace render

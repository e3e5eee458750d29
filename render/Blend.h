#pragma once

#include "render/Canvas.h"

#include <cstdint>

namespace render {

// Lightens (toward white) or darkens (toward black) a rectangle of the
// canvas: every colour byte v becomes (v x (100 - r) + a) / 100, truncated,
// with a = 255 x r toward white and 0 toward black, r = percent % 101 (the
// remainder keeps the sign of percent). Results outside 0..255, which only
// negative r gives, are clamped. The rectangle is clipped to the canvas.
// One pass over the rows with a 256-entry table.
void BlendRectangle(Canvas& canvas, std::int64_t left, std::int64_t top, std::int64_t width,
    std::int64_t height, int percent, bool towardWhite);

} // namespace render

#pragma once

#include "platform/DesktopState.h"
#include "render/Canvas.h"
#include "render/Picture.h"

namespace render {

// Draws the whole of src into the rectangle `to` of dst (which may reach
// past the canvas; what falls outside is not computed), scaled smoothly:
// each destination pixel is the tent-weighted average of the source pixels
// under it (bilinear when enlarging, an area average when shrinking).
// Unscaled at whole-pixel positions it is a plain copy.
void DrawScaled(const PixelView& src, Canvas& dst, const platform::Rect& to);

// Copies src unscaled with its top-left corner at (left, top), clipped by dst.
void CopyClipped(const PixelView& src, Canvas& dst, int left, int top);

} // namespace render

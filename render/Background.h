#pragma once

#include "platform/DesktopState.h"
#include "render/Canvas.h"
#include "render/DecodeTarget.h"
#include "render/Picture.h"

namespace render {

// Composes a width x height canvas as the desktop shows the picture with
// that placement on a monitor of that size (for Spanned, on the rectangle
// around all monitors). An empty picture (none, or no such file) gives the
// desktop colour whatever the placement says.
//  - None: the desktop colour alone;
//  - Centered: unscaled, centred on the desktop colour;
//  - Wallpaper: tiled from the top-left corner;
//  - Scaled: as large as fits keeping proportions, centred, the desktop
//    colour around;
//  - Stretched: to the whole canvas;
//  - Zoom and Spanned: as small as covers keeping proportions, centred, cut
//    evenly.
// Those scale smoothly. The older platform's looks drop or repeat pixels,
// and scale a picture that covers the canvas to it whatever they say:
//  - ClassicStretched: to the whole canvas;
//  - ClassicTiled: tiled, ClassicCentered: centred on the desktop colour,
//    ClassicBlank: a white canvas, each unless the picture covers it.
Canvas ComposeBackground(
    Picture picture, platform::Placement placement, int width, int height, ColorRef colour);

// How large a picture will show with that placement on a width x height
// canvas, for decoders that can shrink while decoding.
DecodeTarget TargetFor(platform::Placement placement, int width, int height);

// Copies the whole of src onto the whole of dst, dropping or repeating rows
// and columns (nearest neighbour, no smoothing): the older platform's
// stretch.
void ScaledCopy(const PixelView& src, Canvas& dst);

// Where Scaled, Zoom and Spanned draw a w x h picture on a width x height
// canvas: one direction fills the canvas exactly, the other is the
// proportional size (whole pixels, rounded down), centred.
platform::Rect ProportionalRect(int w, int h, int width, int height, bool cover);

} // namespace render

#pragma once

#include "platform/DesktopState.h"
#include "render/Canvas.h"

#include <chrono>
#include <string>

namespace render {

// Composes a width x height canvas as a desktop with a placement mode of
// its own shows the picture at path on a monitor of that size (for
// Spanned, on the rectangle around all monitors), scaling smoothly:
//  - None: the desktop colour alone (the picture is not read);
//  - Centered: unscaled, centred on the desktop colour;
//  - Wallpaper: tiled from the top-left corner;
//  - Scaled: as large as fits keeping proportions, centred, the desktop
//    colour around;
//  - Stretched: to the whole canvas;
//  - Zoom and Spanned: as small as covers keeping proportions, centred, cut
//    evenly.
// A missing path or file gives the desktop colour; an unreadable picture
// raises LoadPicture's errors. now picks the picture of a GNOME list.
Canvas ComposePlacement(const std::string& path, platform::Placement placement, int width, int height,
    ColorRef desktopColor, std::chrono::local_seconds now);

// Where Scaled, Zoom and Spanned draw a w x h picture on a width x height
// canvas: one direction fills the canvas exactly, the other is the
// proportional size (whole pixels, rounded down), centred.
platform::Rect ProportionalRect(int w, int h, int width, int height, bool cover);

} // namespace render

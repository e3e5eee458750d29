#pragma once

#include "platform/DesktopState.h"
#include "render/Canvas.h"

#include <string>

namespace render {

// The user's picture for one draw. fullWidth x fullHeight is the picture's
// own size; image may be a reduced decode of it (see LoadPicture).
struct Picture {
    int fullWidth = 0;
    int fullHeight = 0;
    Canvas image;

    bool Empty() const { return fullWidth == 0 || fullHeight == 0; }
};

// Loads the picture a "Wallpaper" path names. The kind is chosen from the
// path text, case-sensitively and anywhere in it, ".jpg" first, then ".bmp";
// any other path loads nothing. When the picture covers a screenWidth x
// screenHeight screen it will be shrunk to it anyway, so a JPEG is then
// decoded at the smallest libjpeg scale that still covers the screen.
Picture LoadPicture(const std::string& path, int screenWidth, int screenHeight);

// Copies the whole of src onto the whole of dst, dropping or repeating rows
// and columns (nearest neighbour, no smoothing).
void ScaledCopy(const Canvas& src, Canvas& dst);

// Copies src unscaled with its top-left corner at (left, top), clipped by dst.
void CopyClipped(const Canvas& src, Canvas& dst, int left, int top);

// Composes the background of a screen-sized canvas from the desktop's
// wallpaper settings:
//  - no path, or no such file: the desktop colour;
//  - a picture covering the screen: scaled to the screen;
//  - tile "0", style "2": stretched to the screen;
//  - tile "1", style "0": tiled from the top-left corner;
//  - tile "0", style "0": the desktop colour with the picture centred on it;
//  - anything else: the canvas stays white.
Canvas ComposeBackground(
    const platform::WallpaperSettings& settings, int screenWidth, int screenHeight, ColorRef desktopColor);

} // namespace render

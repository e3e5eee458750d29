#pragma once

#include "platform/DesktopState.h"
#include "render/Canvas.h"
#include "render/Picture.h"

#include <chrono>
#include <string>

namespace render {

// Copies the whole of src onto the whole of dst, dropping or repeating rows
// and columns (nearest neighbour, no smoothing): the older platform's
// stretch.
void ScaledCopy(const PixelView& src, Canvas& dst);
inline void ScaledCopy(const Canvas& src, Canvas& dst)
{
    ScaledCopy(ViewOf(src), dst);
}

// Composes the background of a screen-sized canvas from the older
// platform's wallpaper values (the desktop gives no placement mode of its
// own). The picture is loaded by LoadPicture (PictureFile.h); now picks
// the picture of a GNOME background list.
//  - no path, or no such file: the desktop colour;
//  - a picture covering the screen: scaled to the screen;
//  - tile "0", style "2": stretched to the screen;
//  - tile "1", style "0": tiled from the top-left corner;
//  - tile "0", style "0": the desktop colour with the picture centred on it;
//  - anything else: the canvas stays white.
Canvas ComposeBackground(const platform::WallpaperSettings& settings, int screenWidth, int screenHeight,
    ColorRef desktopColor, std::chrono::local_seconds now = {});

// True when path names something that exists (a missing picture leaves the
// desktop colour, without an error).
bool PictureExists(const std::string& path);

} // namespace render

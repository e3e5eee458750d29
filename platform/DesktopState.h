#pragma once

// What a wallpaper draw reads of the desktop, as plain values: the desktop
// hands them over once and the composition works on them alone.

#include <cstdint>
#include <string>

namespace platform {

// The desktop's own wallpaper settings, as the text values the desktop keeps:
// the picture's full path (empty: none), the tiling flag ("0"/"1") and the
// placement style ("0"/"2"). Anything else is passed on as it is.
struct WallpaperSettings {
    std::string wallpaper;
    std::string tileWallpaper;
    std::string wallpaperStyle;

    bool operator==(const WallpaperSettings&) const = default;
};

struct ScreenSize {
    int width = 0;
    int height = 0;

    bool operator==(const ScreenSize&) const = default;
};

// Everything one draw takes from the desktop.
struct DesktopState {
    WallpaperSettings wallpaper;
    // The primary screen in physical pixels.
    ScreenSize screen;
    int pixelsPerInch = 96;
    // The desktop background colour, 0x00BBGGRR.
    std::uint32_t colour = 0;
};

} // namespace platform

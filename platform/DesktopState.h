#pragma once

// What a wallpaper draw reads of the desktop, as plain values: the desktop
// hands them over once and the composition works on them alone.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// How a Linux desktop places its picture, by the names GNOME stores
// ("picture-options"); every desktop's own mode maps onto one of them.
enum class Placement {
    None, // no picture: the desktop colour only
    Centered, // unscaled, centred on the desktop colour
    Wallpaper, // tiled from the top-left corner
    Scaled, // fit inside keeping proportions, the desktop colour around
    Stretched, // to the whole screen, proportions not kept
    Zoom, // cover the screen keeping proportions, cropped centred
    Spanned, // one picture over all monitors (zoomed over their union)
};

// A rectangle in device pixels, in the desktop's coordinates.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Rect&) const = default;
};

struct Monitor {
    Rect geometry;
    // The part panels and bars do not cover; equal to geometry when nothing
    // is known to cover it.
    Rect workArea;
    // Device pixels per logical pixel (2.0 at 200 %).
    double scale = 1.0;
    bool primary = false;

    bool operator==(const Monitor&) const = default;
};

// Everything one draw takes from the desktop.
struct DesktopState {
    WallpaperSettings wallpaper;
    // The desktop's own placement mode where it has one; without it the
    // tile and style values above decide, as on the older platform.
    std::optional<Placement> placement;
    // The primary screen in physical pixels.
    ScreenSize screen;
    // Of one logical pixel (96 at 100 %); a monitor's scale multiplies it.
    int pixelsPerInch = 96;
    // The desktop background colour, 0x00BBGGRR.
    std::uint32_t colour = 0;
    // Every monitor, when the desktop can tell; empty means one monitor of
    // the screen's size with nothing covering it.
    std::vector<Monitor> monitors;
};

// True when one picture is laid over all monitors: the canvas then covers
// the whole desktop and is installed spanned.
inline bool SpansMonitors(const DesktopState& state)
{
    return state.placement == Placement::Spanned && state.monitors.size() > 1;
}

} // namespace platform

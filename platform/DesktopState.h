#pragma once

// What a wallpaper draw reads of the desktop, as plain values: the desktop
// hands them over once and the composition works on them alone.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// How the desktop lays its picture on the screen. The first seven are
// GNOME's "picture-options"; every Linux desktop's own mode maps onto one
// of them.
enum class Placement {
    None, // no picture: the desktop colour only
    Centered, // unscaled, centred on the desktop colour
    Wallpaper, // tiled from the top-left corner
    Scaled, // fit inside keeping proportions, the desktop colour around
    Stretched, // to the whole screen, proportions not kept
    Zoom, // cover the screen keeping proportions, cropped centred
    Spanned, // one picture over all monitors (zoomed over their union)
    // The older platform's looks, for a desktop that gives only a tile and
    // a style value (Windows, corkpane-tool draw --tile/--style, a desktop
    // that names no mode). A picture that covers the screen is scaled to
    // it whatever the values say, and scaling drops or repeats pixels.
    ClassicTiled, // tile "1", style "0"
    ClassicCentered, // tile "0", style "0": unscaled on the desktop colour
    ClassicStretched, // tile "0", style "2"
    ClassicBlank, // any other pair: white behind the text
};

// The placement the older tile ("0"/"1") and style ("0"/"2") values give;
// they are compared as whole texts.
constexpr Placement ClassicPlacement(std::string_view tile, std::string_view style)
{
    if (tile == "0" && style == "2")
        return Placement::ClassicStretched;
    if (tile == "1" && style == "0")
        return Placement::ClassicTiled;
    if (tile == "0" && style == "0")
        return Placement::ClassicCentered;
    return Placement::ClassicBlank;
}

struct ScreenSize {
    int width = 0;
    int height = 0;

    bool operator==(const ScreenSize&) const = default;
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
    // The user's picture, a full path; empty when there is none.
    std::string picture;
    Placement placement = Placement::Zoom;
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

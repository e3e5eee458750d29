#pragma once

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
};

// The platform operations a wallpaper draw needs. Paths are bytes in the
// system's code page.
class Desktop {
public:
    virtual ~Desktop() = default;

    // The user's wallpaper settings; absent values read as empty text.
    virtual WallpaperSettings ReadWallpaperSettings() = 0;
    // The primary screen in physical pixels.
    virtual ScreenSize PrimaryScreenSize() = 0;
    virtual int PixelsPerInch() = 0;
    // The desktop background colour, 0x00BBGGRR.
    virtual std::uint32_t DesktopColor() = 0;
    // Makes the bitmap at path the wallpaper. Returns false when the desktop
    // could not be told; the drawn file is there either way.
    virtual bool InstallWallpaper(const std::string& path) = 0;
};

} // namespace platform

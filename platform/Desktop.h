#pragma once

#include "platform/DesktopState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

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
    // The desktop's own placement mode; nullopt where it keeps none (the
    // tile and style values then decide).
    virtual std::optional<Placement> ReadPlacement() { return std::nullopt; }
    // Every monitor with its work area and scale; empty when the desktop
    // cannot tell (one monitor of PrimaryScreenSize, nothing covering it).
    virtual std::vector<Monitor> ReadMonitors() { return {}; }
    // Makes the bitmap at path the wallpaper. Returns false when the desktop
    // could not be told; the drawn file is there either way.
    virtual bool InstallWallpaper(const std::string& path) = 0;
};

} // namespace platform

#pragma once

#include "platform/DesktopState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// What installing the wallpaper came to.
struct Installation {
    bool taken = false;
    // Why the desktop does not show it, in Shift_JIS, naming the desktop;
    // empty when taken.
    std::string problem {};

    explicit operator bool() const { return taken; }
};

// The platform operations a wallpaper draw needs. Paths are bytes in the
// system's code page.
class Desktop {
public:
    virtual ~Desktop() = default;

    // The user's wallpaper settings; absent values read as empty text.
    virtual WallpaperSettings ReadWallpaperSettings() = 0;
    // The desktop's own placement mode for the picture the last
    // ReadWallpaperSettings named; nullopt where it has none.
    virtual std::optional<Placement> WallpaperPlacement() { return std::nullopt; }
    // The primary screen in physical pixels.
    virtual ScreenSize PrimaryScreenSize() = 0;
    // Every monitor in device pixels; empty when the desktop cannot tell.
    virtual std::vector<Monitor> Monitors() { return {}; }
    virtual int PixelsPerInch() = 0;
    // The desktop background colour, 0x00BBGGRR.
    virtual std::uint32_t DesktopColor() = 0;
    // Makes the bitmap at path the wallpaper, shown one to one on the
    // primary monitor, or laid over all monitors when spanned. The drawn
    // file is there either way.
    virtual Installation InstallWallpaper(const std::string& path, bool spanned) = 0;
    // False where the session does not start the user's autostart entries
    // (sway), so the logon run needs a line in the session's own settings.
    virtual bool RunsAutostartEntries() { return true; }
};

} // namespace platform

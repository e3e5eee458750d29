#pragma once

#ifdef _WIN32

#include "platform/Desktop.h"

namespace platform {

// The Windows desktop: the wallpaper values under HKEY_CURRENT_USER
// "Control Panel\desktop", GetSystemMetrics, GetSysColor and
// SystemParametersInfoA. Installing does not write the user's profile, so
// the registry keeps naming the user's own picture.
class WindowsDesktop : public Desktop {
public:
    WallpaperSettings ReadWallpaperSettings() override;
    ScreenSize PrimaryScreenSize() override;
    int PixelsPerInch() override;
    std::uint32_t DesktopColor() override;
    Installation InstallWallpaper(const std::string& path, bool spanned) override;
};

} // namespace platform

#endif

#pragma once

#ifdef _WIN32

#include "platform/Desktop.h"

namespace platform {

// The Windows desktop: the wallpaper values under HKEY_CURRENT_USER
// "Control Panel\desktop" (the picture, and its tile and style values read
// as the older looks), GetSystemMetrics, GetSysColor and
// SystemParametersInfoA. Installing does not write the user's profile, so
// the registry keeps naming the user's own picture.
class WindowsDesktop : public Desktop {
public:
    DesktopState Read() override;
    Installation Install(const DrawnWallpaper& wallpaper) override;
};

} // namespace platform

#endif

#pragma once

#include "platform/Desktop.h"

#include <vector>

namespace platform {

// A desktop given by fixed values: for tests and for drawing without a
// running desktop. Installing only records the path.
class FixedDesktop : public Desktop {
public:
    WallpaperSettings settings;
    ScreenSize screen { 1024, 768 };
    int pixelsPerInch = 96;
    std::uint32_t desktopColor = 0x00A56E3A;
    std::optional<Placement> placement;
    std::vector<Monitor> monitors;
    std::vector<std::string> installed;
    // What installing answers: false plays a desktop that ignores us.
    bool acceptsWallpaper = true;

    WallpaperSettings ReadWallpaperSettings() override { return settings; }
    ScreenSize PrimaryScreenSize() override { return screen; }
    int PixelsPerInch() override { return pixelsPerInch; }
    std::uint32_t DesktopColor() override { return desktopColor; }
    std::optional<Placement> ReadPlacement() override { return placement; }
    std::vector<Monitor> ReadMonitors() override { return monitors; }
    bool InstallWallpaper(const std::string& path) override
    {
        installed.push_back(path);
        return acceptsWallpaper;
    }
};

} // namespace platform

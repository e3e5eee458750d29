#pragma once

#include "platform/Desktop.h"

#include <vector>

namespace platform {

// A desktop given by fixed values: for tests and for drawing without a
// running desktop. Installing only records the path.
class FixedDesktop : public Desktop {
public:
    WallpaperSettings settings;
    std::optional<Placement> placement;
    ScreenSize screen { 1024, 768 };
    std::vector<Monitor> monitors;
    int pixelsPerInch = 96;
    std::uint32_t desktopColor = 0x00A56E3A;
    std::vector<std::string> installed;
    // How each was installed: true when spanned.
    std::vector<bool> installedSpanned;
    // What installing answers: false plays a desktop that ignores us.
    bool acceptsWallpaper = true;
    // False plays a session that starts no autostart entries (sway).
    bool runsAutostart = true;

    WallpaperSettings ReadWallpaperSettings() override { return settings; }
    std::optional<Placement> WallpaperPlacement() override { return placement; }
    ScreenSize PrimaryScreenSize() override { return screen; }
    std::vector<Monitor> Monitors() override { return monitors; }
    int PixelsPerInch() override { return pixelsPerInch; }
    std::uint32_t DesktopColor() override { return desktopColor; }
    Installation InstallWallpaper(const std::string& path, bool spanned) override
    {
        installed.push_back(path);
        installedSpanned.push_back(spanned);
        return { acceptsWallpaper, acceptsWallpaper ? std::string() : std::string("fixed") };
    }
    bool RunsAutostartEntries() override { return runsAutostart; }
};

} // namespace platform

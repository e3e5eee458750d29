#pragma once

#include "platform/Desktop.h"

#include <string>
#include <vector>

namespace platform {

// A desktop given by fixed values: for tests and for drawing without a
// running desktop. Installing only records what it was given.
class FixedDesktop : public Desktop {
public:
    FixedDesktop()
    {
        state.screen = { 1024, 768 };
        state.colour = 0x00A56E3A;
    }

    DesktopState state;
    std::vector<DrawnWallpaper> installed;
    // How often the desktop was read.
    int reads = 0;
    // What installing answers: false plays a desktop that ignores us.
    bool acceptsWallpaper = true;
    // False plays a session that starts no autostart entries (sway).
    bool runsAutostart = true;

    DesktopState Read() override
    {
        ++reads;
        return state;
    }
    Installation Install(const DrawnWallpaper& wallpaper) override
    {
        installed.push_back(wallpaper);
        return { acceptsWallpaper, acceptsWallpaper ? std::string() : std::string("fixed") };
    }
    bool RunsAutostartEntries() override { return runsAutostart; }
};

} // namespace platform

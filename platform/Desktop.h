#pragma once

#include "platform/DesktopState.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace platform {

// What installing the wallpaper came to.
struct Installation {
    bool taken = false;
    // Why the desktop does not show it, in Shift_JIS, naming the desktop;
    // empty when taken.
    std::string problem {};

    explicit operator bool() const { return taken; }
};

// A drawn wallpaper: the bitmap file written, and the same pixels still in
// memory (3 bytes a pixel, blue, green, red, rows top-down, stride bytes
// apart), so that a desktop that wants another format need not read the
// file back.
struct DrawnWallpaper {
    std::filesystem::path file;
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    // Laid over all monitors rather than shown one to one on the primary.
    bool spanned = false;
};

// The platform operations a wallpaper draw needs.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Everything a draw takes from the desktop, asked once: the user's own
    // picture and its placement, the monitors, the scale and the colour.
    virtual DesktopState Read() = 0;
    // Makes the drawn wallpaper the desktop's, shown one to one on the
    // primary monitor, or laid over all monitors when spanned.
    virtual Installation Install(const DrawnWallpaper& wallpaper) = 0;
    // False where the session does not start the user's autostart entries
    // (sway), so the logon run needs a line in the session's own settings.
    virtual bool RunsAutostartEntries() { return true; }
};

} // namespace platform

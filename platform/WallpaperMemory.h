#pragma once

#include "platform/Desktop.h"

#include <optional>
#include <string>

namespace platform {

// Remembers the user's own wallpaper settings in a small file, so that a
// draw can start from the user's picture after the desktop has been told to
// show our output instead. The file holds the lines "Name=value" of the
// three settings and, where the desktop has its own, the placement by
// GNOME's name ("Placement=zoom"); an empty path remembers nothing.
class WallpaperMemory {
public:
    explicit WallpaperMemory(std::string path)
        : path_(std::move(path))
    {
    }

    std::optional<WallpaperSettings> Load() const;
    // The remembered placement; nullopt when none was stored.
    std::optional<Placement> LoadPlacement() const;
    // Written atomically; returns false when the file could not be written
    // or would be larger than it is read back with.
    bool Save(const WallpaperSettings& settings, std::optional<Placement> placement = std::nullopt) const;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace platform

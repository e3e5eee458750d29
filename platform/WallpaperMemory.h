#pragma once

#include "platform/DesktopState.h"

#include <optional>
#include <string>

namespace platform {

// The user's own picture and how the desktop placed it.
struct RememberedPicture {
    std::string picture;
    Placement placement = Placement::Zoom;

    bool operator==(const RememberedPicture&) const = default;
};

// Remembers the user's own wallpaper in a small file, so that a draw can
// start from the user's picture after the desktop has been told to show our
// output instead. The file holds the lines "Wallpaper=<path>" and
// "Placement=<name>" (PlacementNames.h); a file of an older version with
// "TileWallpaper=" and "WallpaperStyle=" instead reads as the placement
// those give. An empty path remembers nothing.
class WallpaperMemory {
public:
    explicit WallpaperMemory(std::string path)
        : path_(std::move(path))
    {
    }

    // nullopt when nothing is remembered or the file cannot be read.
    std::optional<RememberedPicture> Load() const;
    // Written atomically; false when the file could not be written, or the
    // path holds a line break and so could not be read back as it is.
    bool Save(const RememberedPicture& remembered) const;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace platform

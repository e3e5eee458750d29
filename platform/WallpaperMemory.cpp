#include "platform/WallpaperMemory.h"

#include "jconvert/TextLines.h"
#include "platform/FileIo.h"
#include "platform/PlacementNames.h"

#include <filesystem>
#include <system_error>

namespace platform {

std::optional<RememberedPicture> WallpaperMemory::Load() const
{
    std::optional<std::string> bytes;
    try {
        if (!path_.empty())
            bytes = ReadFileIfExists(path_, kSmallFileReadLimit);
    } catch (const FileIoError&) {
    }
    if (!bytes)
        return std::nullopt;
    RememberedPicture remembered;
    std::optional<Placement> named;
    std::string_view tile, style;
    bool any = false;
    for (const std::string_view line : jconvert::SplitLines(*bytes)) {
        const auto pair = jconvert::SplitKeyValue(line);
        if (!pair)
            continue;
        any = true;
        if (pair->key == "Wallpaper")
            remembered.picture = pair->value;
        else if (pair->key == "Placement")
            named = PlacementFromName(pair->value);
        else if (pair->key == "TileWallpaper")
            tile = pair->value;
        else if (pair->key == "WallpaperStyle")
            style = pair->value;
    }
    if (!any)
        return std::nullopt;
    remembered.placement = named.value_or(ClassicPlacement(tile, style));
    return remembered;
}

bool WallpaperMemory::Save(const RememberedPicture& remembered) const
{
    if (path_.empty() || remembered.picture.find_first_of("\r\n") != std::string::npos)
        return false;
    std::error_code error;
    const std::filesystem::path target(path_);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), error);
    try {
        ReplaceFile(target,
            "Wallpaper=" + remembered.picture
                + "\nPlacement=" + std::string(PlacementName(remembered.placement)) + "\n",
            kSmallFileReadLimit);
    } catch (const FileIoError&) {
        return false;
    }
    return true;
}

} // namespace platform

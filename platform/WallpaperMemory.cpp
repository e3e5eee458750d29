#include "platform/WallpaperMemory.h"

#include "platform/FileIo.h"
#include "platform/PlacementNames.h"

#include <filesystem>
#include <sstream>
#include <system_error>

namespace platform {
namespace {

std::optional<std::string> ReadMemory(const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    try {
        return ReadFileIfExists(path, kSmallFileReadLimit);
    } catch (const FileIoError&) {
        return std::nullopt;
    }
}

} // namespace

std::optional<Placement> WallpaperMemory::LoadPlacement() const
{
    const std::optional<std::string> bytes = ReadMemory(path_);
    if (!bytes)
        return std::nullopt;
    std::istringstream in(*bytes);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("Placement=", 0) == 0)
            return PlacementFromName(std::string_view(line).substr(10));
    return std::nullopt;
}

std::optional<WallpaperSettings> WallpaperMemory::Load() const
{
    const std::optional<std::string> bytes = ReadMemory(path_);
    if (!bytes)
        return std::nullopt;
    std::istringstream in(*bytes);
    WallpaperSettings settings;
    bool any = false;
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string name = line.substr(0, eq), value = line.substr(eq + 1);
        if (name == "Wallpaper")
            settings.wallpaper = value;
        else if (name == "TileWallpaper")
            settings.tileWallpaper = value;
        else if (name == "WallpaperStyle")
            settings.wallpaperStyle = value;
        else
            continue;
        any = true;
    }
    if (!any)
        return std::nullopt;
    return settings;
}

bool WallpaperMemory::Save(const WallpaperSettings& settings, std::optional<Placement> placement) const
{
    if (path_.empty())
        return false;
    // A path with a line break cannot be stored line by line; keep the old
    // memory rather than write something that reads back differently.
    for (const std::string* v : { &settings.wallpaper, &settings.tileWallpaper, &settings.wallpaperStyle })
        if (v->find_first_of("\r\n") != std::string::npos)
            return false;
    std::error_code error;
    const std::filesystem::path target(path_);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), error);
    try {
        ReplaceFile(target,
            "Wallpaper=" + settings.wallpaper + "\nTileWallpaper=" + settings.tileWallpaper
                + "\nWallpaperStyle=" + settings.wallpaperStyle + "\n"
                + (placement ? "Placement=" + std::string(PlacementName(*placement)) + "\n" : std::string()),
            kSmallFileReadLimit);
    } catch (const FileIoError&) {
        return false;
    }
    return true;
}

} // namespace platform

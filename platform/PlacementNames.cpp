#include "platform/PlacementNames.h"

#include <array>
#include <utility>

namespace platform {
namespace {

constexpr std::array<std::pair<Placement, std::string_view>, 11> kNames { {
    { Placement::None, "none" },
    { Placement::Centered, "centered" },
    { Placement::Wallpaper, "wallpaper" },
    { Placement::Scaled, "scaled" },
    { Placement::Stretched, "stretched" },
    { Placement::Zoom, "zoom" },
    { Placement::Spanned, "spanned" },
    { Placement::ClassicTiled, "classic-tiled" },
    { Placement::ClassicCentered, "classic-centered" },
    { Placement::ClassicStretched, "classic-stretched" },
    { Placement::ClassicBlank, "classic-blank" },
} };

} // namespace

std::string_view PlacementName(Placement placement)
{
    for (const auto& [value, name] : kNames)
        if (value == placement)
            return name;
    return {};
}

std::optional<Placement> PlacementFromName(std::string_view name)
{
    for (const auto& [value, known] : kNames)
        if (known == name)
            return value;
    return std::nullopt;
}

} // namespace platform

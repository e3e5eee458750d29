#pragma once

// Placements by name: GNOME's "picture-options" words, and a word of our
// own for each of the older platform's looks. The wallpaper memory and
// corkpane-tool draw --placement use them.

#include "platform/DesktopState.h"

#include <optional>
#include <string_view>

namespace platform {

// "none", "centered", "wallpaper", "scaled", "stretched", "zoom", "spanned",
// "classic-tiled", "classic-centered", "classic-stretched", "classic-blank".
std::string_view PlacementName(Placement placement);
// The placement of one of those names; nullopt for any other text.
std::optional<Placement> PlacementFromName(std::string_view name);

} // namespace platform

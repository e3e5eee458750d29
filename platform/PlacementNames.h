#pragma once

// Placements by the names GNOME stores in "picture-options", the form the
// wallpaper memory keeps them in.

#include "platform/DesktopState.h"

#include <optional>
#include <string_view>

namespace platform {

// "none", "centered", "wallpaper", "scaled", "stretched", "zoom", "spanned".
std::string_view PlacementName(Placement placement);
// The placement of one of those names; nullopt for any other text.
std::optional<Placement> PlacementFromName(std::string_view name);

} // namespace platform

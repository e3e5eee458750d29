#pragma once

#include "app/Settings.h"
#include "render/DrawSettings.h"

namespace app {

// The drawing parameters the stored controls give: the window and
// corkpane-tool draw pass the same values to the wallpaper draw.
render::DrawSettings ToDrawSettings(const Settings& s);

} // namespace app

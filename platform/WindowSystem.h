#pragma once

// The monitors of the running session, in device pixels, with the areas
// panels leave free and each monitor's scale.

#include "platform/CommandRunner.h"
#include "platform/DesktopState.h"

#include <vector>

namespace platform {

// As the window system's tools tell them: sway's outputs and workspaces on
// sway; else RandR on X11 (xrandr, the X resources' scale, the work area
// from the panels' struts or _NET_WORKAREA), else sway's. Empty when none
// answers.
std::vector<Monitor> WindowSystemMonitors(CommandRunner& runner, bool onSway);
// The size of an X server without RandR (xdpyinfo); 0 x 0 when none answers.
ScreenSize XScreenSize(CommandRunner& runner);
// The screens of the running Qt GUI application in device pixels, with
// their available areas; empty without one, or on a platform without a
// real screen (offscreen, minimal).
std::vector<Monitor> QtScreens();

} // namespace platform

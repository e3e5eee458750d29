#pragma once

// Monitors and the areas panels leave free, read from what the window
// system's tools print. All rectangles are in device pixels.

#include "platform/DesktopState.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// `xrandr --listmonitors` (RandR 1.5 monitors, also virtual ones):
// " 0: +*DP-1 1920/531x1080/299+0+0  DP-1".
std::vector<Monitor> MonitorsFromXrandrList(const std::string& output, double scale);
// `xrandr --current`: every connected output that shows something.
std::vector<Monitor> MonitorsFromXrandr(const std::string& output, double scale);
// `swaymsg -t get_outputs -r`: the active outputs, sized in device pixels
// (sway's rectangles are logical).
std::vector<Monitor> MonitorsFromSwayOutputs(const std::string& json);
// `swaymsg -t get_workspaces -r`: the visible workspace of an output is
// what its bars leave free; it becomes that output's work area.
void ApplySwayWorkspaces(
    std::vector<Monitor>& monitors, const std::vector<std::string>& outputNames, const std::string& json);
// The output names of get_outputs, in the order MonitorsFromSwayOutputs
// gives the monitors.
std::vector<std::string> SwayOutputNames(const std::string& json);

// The numbers of an xprop CARDINAL or WINDOW property line
// ("_NET_WORKAREA(CARDINAL) = 0, 32, 1920, 1048"); empty when the
// property is not set.
std::vector<long> XpropNumbers(const std::string& output, const std::string& property);
// A window's reserved screen edges (_NET_WM_STRUT_PARTIAL: left, right,
// top, bottom, then the start and end of each along its edge), taken off
// the work area of every monitor it covers. rootWidth and rootHeight are
// the whole screen's.
void ApplyStrut(
    std::vector<Monitor>& monitors, const std::array<long, 12>& strut, int rootWidth, int rootHeight);
// The common part of two rectangles; empty (all zero) when they do not meet.
Rect Intersect(const Rect& a, const Rect& b);
// Marks the first monitor primary when none is.
void EnsurePrimary(std::vector<Monitor>& monitors);

} // namespace platform

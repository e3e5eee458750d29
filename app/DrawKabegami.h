#pragma once

// The wallpaper draw, the same for the window and corkpane-tool: the
// settings are read once into the text block's style and the schedule's
// look-ahead, the desktop once into a plain value, render composes the
// canvas from those, and the result is written and installed.

#include "app/Settings.h"
#include "platform/Desktop.h"
#include "platform/DesktopState.h"
#include "render/Kabegami.h"
#include "render/MemoDate.h"
#include "render/MemoStyle.h"
#include "schedule/LookAhead.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace schedule {
class TScheduleTable;
}

namespace app {

// Values given in place of what the desktop says (corkpane-tool draw's
// options); a value not given is asked of the desktop.
struct DesktopOverrides {
    std::optional<std::string> wallpaper;
    std::optional<std::string> tileWallpaper;
    std::optional<std::string> wallpaperStyle;
    std::optional<platform::Placement> placement;
    // A screen given here stands for every monitor: the desktop's own are
    // then not asked.
    std::optional<platform::ScreenSize> screen;
    std::optional<int> pixelsPerInch;
    std::optional<std::uint32_t> colour;
};

struct DrawRequest {
    Settings settings;
    // The memo as displayed, one paragraph each.
    std::vector<std::string> memoLines;
    // Null: no schedule lines.
    const schedule::TScheduleTable* schedule = nullptr;
    std::chrono::year_month_day today;
    // Local time of the draw (a GNOME slide show's picture); absent: now.
    std::optional<std::chrono::local_seconds> now;
    // Formats the title's date; empty for the user's locale.
    render::ShortDateFormat shortDate;
    std::filesystem::path outputFile = "kabegami.bmp";
    DesktopOverrides overrides;
    // False writes the file without telling the desktop.
    bool install = true;
};

// The whole draw: reads the desktop, composes the wallpaper, writes
// outputFile (replacing it atomically) and installs it. Any error ends the
// draw before the file is replaced and is raised as it came (the file
// unit's error, RenderError). The result says whether the desktop took the
// new wallpaper and, when not, why (the file is written either way). A
// picture spanning all monitors is installed spanned.
platform::Installation DrawKabegami(platform::Desktop& desktop, const DrawRequest& request);

// What is composed for the request on a desktop in that state: the text
// block's style, title, schedule lines and memo, or the picture alone when
// the memo is hidden.
render::KabegamiScene SceneFor(const DrawRequest& request, const platform::DesktopState& desktop);

// What the desktop says, with the overrides in place; the desktop is asked
// only for what is not overridden.
platform::DesktopState ReadDesktop(platform::Desktop& desktop, const DesktopOverrides& overrides);

// The settings tab as the text block reads it: every number box with its
// own fallback (characters 10, lines 10, size 15, gap 4, margins 10 and 10,
// background strength 0).
render::MemoStyle MemoStyleFrom(const Settings& settings);

// The schedule's four look-ahead boxes with their fallbacks (weekly 1,
// monthly 3, yearly 3, dated 3), and whether holidays are listed.
schedule::LookAhead LookAheadFrom(const Settings& settings);

} // namespace app

#pragma once

// The wallpaper draw, the same for the window, the logon run and
// corkpane-tool: the desktop is read once into a plain value, the picture
// file read and decoded, render composes the canvas from plain values, and
// the result is written and installed from memory.

#include "app/Settings.h"
#include "calendar/Occurrence.h"
#include "platform/Desktop.h"
#include "platform/DesktopState.h"
#include "render/Kabegami.h"
#include "render/MemoDate.h"
#include "render/MemoStyle.h"
#include "render/PictureFile.h"
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
// options).
struct DesktopOverrides {
    std::optional<std::string> picture;
    std::optional<platform::Placement> placement;
    // A screen given here stands for every monitor.
    std::optional<platform::ScreenSize> screen;
    std::optional<int> pixelsPerInch;
    std::optional<std::uint32_t> colour;

    bool Complete() const { return picture && placement && screen && pixelsPerInch && colour; }
};

struct DrawRequest {
    Settings settings;
    // The memo as "memo.txt" holds it; each line is one paragraph.
    std::string memo;
    // Null: no schedule lines.
    const schedule::TScheduleTable* schedule = nullptr;
    // Calendar events shown among the schedule's lines (LoadCalendarEvents).
    std::vector<calendar::Occurrence> events;
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

// The whole draw: reads the desktop (once; not at all when the overrides
// say everything and nothing is installed), composes the wallpaper, writes
// outputFile (replacing it atomically) and installs it from the pixels in
// memory. Any error ends the draw before the file is replaced and is raised
// as it came (the file unit's error, RenderError). The result says whether
// the desktop took the new wallpaper and, when not, why (the file is
// written either way). A picture spanning all monitors is installed spanned.
platform::Installation DrawKabegami(platform::Desktop& desktop, const DrawRequest& request);

// The text of the scene for the request: the text block's style, title,
// schedule lines and memo, or nothing when the memo is hidden. The desktop
// and the picture are the draw's.
render::KabegamiScene TextSceneFor(const DrawRequest& request);

// The user's picture as a draw reads it: the file the path names, or for a
// GNOME background list the file it shows at local time now on a width x
// height screen; nullopt when there is no path or no such file. A file that
// cannot be read raises the file unit's error.
std::optional<render::PictureFile> ReadPictureFile(
    const std::string& path, std::chrono::local_seconds now, int width, int height);

// The settings tab as the text block reads it, and the schedule's four
// look-ahead boxes and whether holidays are listed: the boxes' numbers, each
// read with its own fallback.
render::MemoStyle MemoStyleFrom(const Settings& settings);
schedule::LookAhead LookAheadFrom(const Settings& settings);

} // namespace app

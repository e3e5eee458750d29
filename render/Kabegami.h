#pragma once

#include "platform/Desktop.h"
#include "render/Canvas.h"
#include "render/DrawSettings.h"
#include "render/MemoDate.h"
#include "render/ScheduleSource.h"
#include "render/Texts.h"

#include <string>
#include <vector>

namespace render {

// Everything one wallpaper draw needs besides the desktop.
struct KabegamiRequest {
    DrawSettings settings;
    std::vector<std::string> memoLines; // the memo as displayed, one paragraph each
    ScheduleSource* schedule = nullptr; // null: no schedule lines
    Date today;
    ShortDateFormat shortDate; // empty: the user's locale
    std::string outputPath = "kabegami.bmp";
};

// The font every text block is drawn in.
inline const std::string& kMemoFontFace = texts::kMsGothic;

// Composes the canvas: background from the desktop's picture and placement,
// then, unless ChShowMemo is checked, the title, schedule lines and memo.
Canvas ComposeKabegami(platform::Desktop& desktop, const KabegamiRequest& request);

// The whole draw: ComposeKabegami, write the file (atomically) and install
// it on the desktop. Any error ends the draw before the file is replaced
// and raises RenderError (or the schedule's own error). Returns whether the
// desktop accepted the new wallpaper.
bool DrawKabegami(platform::Desktop& desktop, const KabegamiRequest& request);

} // namespace render

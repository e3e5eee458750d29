#pragma once

#include "platform/DesktopState.h"
#include "render/Canvas.h"
#include "render/MemoStyle.h"
#include "render/Texts.h"

#include <chrono>
#include <string>
#include <vector>

namespace render {

// Everything one wallpaper is composed from, as plain values.
struct KabegamiScene {
    // The user's picture and its placement, the screen or monitors, the
    // pixels per inch and the desktop colour.
    platform::DesktopState desktop;
    // Local time of the draw: picks the picture of a GNOME slide show.
    std::chrono::local_seconds now {};
    // False when the memo is hidden: the picture alone, no text at all.
    bool showText = true;
    MemoStyle style;
    std::string title; // the finished title line
    std::vector<std::string> scheduleLines; // upcoming-item lines, drawn after the title
    std::vector<std::string> memoLines; // the memo as displayed, one paragraph each
};

// The font every text block is drawn in.
inline const std::string& kMemoFontFace = texts::kMsGothic;

// Composes the canvas (see DesktopLayout.h for its size): the background
// from the picture and its placement (the desktop's own mode where it has
// one, Placement.h; else the older values, Background.h), then, when
// showText, the title, schedule lines and memo inside the primary
// monitor's work area, the font scaled with that monitor. Errors (a picture
// that cannot be read) raise RenderError or the file unit's error.
Canvas ComposeKabegami(const KabegamiScene& scene);

} // namespace render

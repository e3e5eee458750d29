#pragma once

#include "platform/DesktopState.h"
#include "render/Canvas.h"
#include "render/MemoStyle.h"
#include "render/Texts.h"

#include <string>
#include <vector>

namespace render {

// Everything one wallpaper is composed from, as plain values.
struct KabegamiScene {
    // The user's picture and its placement, the screen, its pixels per inch
    // and the desktop colour.
    platform::DesktopState desktop;
    // False when the memo is hidden: the picture alone, no text at all.
    bool showText = true;
    MemoStyle style;
    std::string title; // the finished title line
    std::vector<std::string> scheduleLines; // upcoming-item lines, drawn after the title
    std::vector<std::string> memoLines; // the memo as displayed, one paragraph each
};

// The font every text block is drawn in.
inline const std::string& kMemoFontFace = texts::kMsGothic;

// Composes the canvas: the background from the picture and its placement,
// then, when showText, the title, schedule lines and memo. Errors (a picture
// that cannot be read) raise RenderError or the file unit's error.
Canvas ComposeKabegami(const KabegamiScene& scene);

} // namespace render

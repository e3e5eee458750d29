#pragma once

#include "platform/DesktopState.h"
#include "render/Canvas.h"
#include "render/MemoStyle.h"
#include "render/Picture.h"
#include "render/Texts.h"

#include <string>
#include <vector>

namespace render {

// Everything one wallpaper is composed from, as plain values.
struct KabegamiScene {
    // The placement, the screen or monitors, the pixels per inch and the
    // desktop colour (the picture's path is not read here).
    platform::DesktopState desktop;
    // The user's picture, decoded for the placement (Background.h
    // TargetFor); empty when there is none.
    Picture picture;
    // False when the memo is hidden: the picture alone, no text at all.
    bool showText = true;
    MemoStyle style;
    std::string title; // the finished title line
    std::vector<std::string> scheduleLines; // upcoming-item lines, drawn after the title
    std::vector<std::string> memoLines; // the memo's lines, one paragraph each
};

// The font every text block is drawn in.
inline const std::string& kMemoFontFace = texts::kMsGothic;

// Composes the canvas (see DesktopLayout.h for its size): the background
// from the picture and its placement (Background.h), then, when showText,
// the title, schedule lines and memo inside the primary monitor's work
// area, the font scaled with that monitor. Text is drawn through Qt: the
// process must have created its QGuiApplication.
Canvas ComposeKabegami(KabegamiScene scene);

} // namespace render

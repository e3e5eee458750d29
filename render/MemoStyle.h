#pragma once

#include "render/Canvas.h"

namespace render {

// The numbers and choices of the text block, as the settings give them
// once each box's fallback is applied (the settings table holds those).
struct MemoStyle {
    int charsPerLine = 0; // N: a display line holds at most 2N bytes
    int linesPerColumn = 0;
    int fontSize = 0; // points
    int paragraphGap = 0;
    int topMargin = 0;
    int rightMargin = 0;
    ColorRef textColor = 0;
    int shadowMode = 0; // 0 none, 1 shadow, 2 outline
    ColorRef shadowColor = 0;
    int backgroundPercent = 0;
    int backgroundMode = 0; // 0 toward white, 1 toward black, 2 off

    bool operator==(const MemoStyle&) const = default;
};

} // namespace render

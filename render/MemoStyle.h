#pragma once

#include "render/Canvas.h"

namespace render {

// The numbers and choices of the text block, as the settings give them
// once each box's fallback is applied.
struct MemoStyle {
    int charsPerLine = 10; // N: a display line holds at most 2N bytes
    int linesPerColumn = 10;
    int fontSize = 15; // points
    int paragraphGap = 4;
    int topMargin = 10;
    int rightMargin = 10;
    ColorRef textColor = 0x0000FF00;
    int shadowMode = 0; // 0 none, 1 shadow, 2 outline
    ColorRef shadowColor = 0x00C0C0C0;
    int backgroundPercent = 0;
    int backgroundMode = 0; // 0 toward white, 1 toward black, 2 off

    bool operator==(const MemoStyle&) const = default;
};

} // namespace render

#pragma once

#include "platform/DesktopState.h"

namespace render {

// Where a wallpaper is composed: the canvas, the part of it the text block
// may use, and the scale of the monitor the text is read on.
struct DesktopLayout {
    int width = 0;
    int height = 0;
    // The primary monitor's work area (what panels and bars leave free), in
    // canvas coordinates; the whole canvas when nothing covers it.
    platform::Rect textArea;
    // Device pixels per logical pixel of the primary monitor.
    double scale = 1.0;
};

// The canvas is the primary monitor in device pixels (the first monitor
// when none is marked primary; the screen when no monitors are given);
// with Spanned placement it is the rectangle around every monitor, with
// the text block inside the primary monitor's part of it.
DesktopLayout LayoutFor(const platform::DesktopState& desktop);

} // namespace render

#pragma once

#include "render/Canvas.h"

#include <string>

namespace render {

// Measuring and drawing text on the canvas. Text is Shift_JIS bytes.
class TextPainter {
public:
    virtual ~TextPainter() = default;

    // Width in pixels of text in the canvas font.
    virtual int TextWidth(const std::string& text) = 0;
    virtual void SetColor(ColorRef color) = 0;
    // Draws text with its top-left corner at (x, y) in the current colour,
    // nothing behind the glyphs, clipped by the canvas.
    virtual void DrawText(int x, int y, const std::string& text) = 0;
};

} // namespace render

#pragma once

#include "platform/DesktopState.h"
#include "render/Canvas.h"
#include "render/MemoLayout.h"
#include "render/MemoStyle.h"
#include "render/TextPainter.h"

#include <string>
#include <vector>

namespace render {

// Lays out and draws the text block: the title, the schedule lines and the
// memo lines as paragraphs, wrapped at 2N bytes and stacked in columns from
// the right edge of its area leftward, each paragraph over an optional
// lightened or darkened rectangle, each line with an optional shadow or
// outline.
class MemoDrawer {
public:
    // pixelHeight is the font's character height in pixels (hpx). The block
    // lays out in area (canvas coordinates: the part of the screen no panel
    // covers), its margins counted from the area's top and right edges, and
    // nothing of it is drawn outside; by default the whole canvas.
    MemoDrawer(Canvas& canvas, TextPainter& painter, const MemoStyle& style, int pixelHeight);
    MemoDrawer(Canvas& canvas, TextPainter& painter, const MemoStyle& style, int pixelHeight,
        const platform::Rect& area);

    // The whole block: the finished title line, then the schedule lines and
    // the memo lines, each one paragraph.
    void DrawMemo(const std::string& title, const std::vector<std::string>& scheduleLines,
        const std::vector<std::string>& memoLines);

    // One paragraph at the pen; advances penX, penY and the line count and
    // returns the final penY.
    int DrawMemoLine(int& penX, int& penY, const std::string& text);

    const MemoLayout& Layout() const { return layout_; }

    // N is kept within 1..kMaxCharsPerLine: below 1 no line could be
    // wrapped, above it the column is wider than any screen anyway.
    static constexpr int kMaxCharsPerLine = 4096;

private:
    // Paragraphs one after another until nothing further can show.
    void DrawParagraphs(int& penX, int& penY, const std::vector<std::string>& paragraphs);
    // True when no later line could show on the canvas.
    bool Finished(int penX, int penY) const;
    // How far left the next column starts.
    long long ColumnStep() const;
    void DrawLineText(int x, int y, const std::string& line);
    long long Right() const { return static_cast<long long>(area_.x) + area_.width; }
    long long Bottom() const { return static_cast<long long>(area_.y) + area_.height; }

    Canvas& canvas_;
    TextPainter& painter_;
    MemoStyle style_;
    int hpx_;
    int n_;
    platform::Rect area_;
    MemoLayout layout_;
};

} // namespace render

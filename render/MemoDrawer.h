#pragma once

#include "render/Canvas.h"
#include "render/DrawSettings.h"
#include "render/MemoLayout.h"
#include "render/ScheduleSource.h"
#include "render/TextPainter.h"

#include <string>
#include <vector>

namespace render {

// Lays out and draws the text block: the title, the schedule lines and the
// memo lines as paragraphs, wrapped at 2N bytes and stacked in columns from
// the right edge of the canvas leftward, each paragraph over an optional
// lightened or darkened rectangle, each line with an optional shadow or
// outline.
class MemoDrawer {
public:
    // pixelHeight is the font's character height in pixels (hpx).
    MemoDrawer(Canvas& canvas, TextPainter& painter, const MemoStyle& style, int pixelHeight);

    // The whole block. title is the finished title line; schedule may be
    // null (no schedule lines). An error from the schedule ends the draw.
    void DrawMemo(
        const std::string& title, ScheduleSource* schedule, const std::vector<std::string>& memoLines);

    // One paragraph at the pen; advances penX, penY and the line count and
    // returns the final penY.
    int DrawMemoLine(int& penX, int& penY, const std::string& text);

    // The schedule step between title and memo.
    void DrawSchedule(int& penX, int& penY, ScheduleSource& schedule);

    const MemoLayout& Layout() const { return layout_; }

    // N is kept within 1..kMaxCharsPerLine: below 1 no line could be
    // wrapped, above it the column is wider than any screen anyway.
    static constexpr int kMaxCharsPerLine = 4096;

private:
    // True when no later line could show on the canvas.
    bool Finished(int penX, int penY) const;
    // How far left the next column starts.
    long long ColumnStep() const;
    void DrawLineText(int x, int y, const std::string& line);

    Canvas& canvas_;
    TextPainter& painter_;
    MemoStyle style_;
    int hpx_;
    int n_;
    MemoLayout layout_;
};

} // namespace render

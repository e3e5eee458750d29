#include "render/MemoDrawer.h"

#include "render/Blend.h"
#include "render/LineWrap.h"

#include <algorithm>
#include <climits>

namespace render {
namespace {

// Pen arithmetic saturates: absurd margins or gaps must not overflow.
int Add(long long a, long long b)
{
    return static_cast<int>(
        std::clamp(a + b, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

} // namespace

MemoDrawer::MemoDrawer(Canvas& canvas, TextPainter& painter, const MemoStyle& style, int pixelHeight)
    : canvas_(canvas)
    , painter_(painter)
    , style_(style)
    , hpx_(pixelHeight)
    , n_(std::clamp(style.charsPerLine, 1, kMaxCharsPerLine))
{
}

void MemoDrawer::DrawMemo(
    const std::string& title, ScheduleSource* schedule, const std::vector<std::string>& memoLines)
{
    layout_ = MemoLayout {};
    layout_.TopMargin = style_.topMargin;
    layout_.BlockWidth = painter_.TextWidth(std::string(static_cast<std::size_t>(2 * n_), '*'));
    layout_.ColumnGap = painter_.TextWidth("*");
    layout_.ParagraphGap = style_.paragraphGap;
    layout_.LinesPerColumn = style_.linesPerColumn;
    layout_.LineCount = 0;

    int penX = Add(Add(canvas_.Width(), -static_cast<long long>(layout_.BlockWidth)),
        -static_cast<long long>(style_.rightMargin));
    int penY = layout_.TopMargin;

    penY = Add(DrawMemoLine(penX, penY, title), layout_.ParagraphGap);
    if (schedule)
        DrawSchedule(penX, penY, *schedule);
    for (const std::string& line : memoLines) {
        if (penX < 0)
            break;
        penY = Add(DrawMemoLine(penX, penY, line), layout_.ParagraphGap);
    }
}

void MemoDrawer::DrawSchedule(int& penX, int& penY, ScheduleSource& schedule)
{
    schedule.SetLookAhead(
        style_.lookAheadWeekly, style_.lookAheadMonthly, style_.lookAheadYearly, style_.lookAheadDated);
    const std::vector<std::string> lines = schedule.ListUpcoming();
    if (!style_.showSchedule)
        return;
    for (const std::string& line : lines) {
        if (penX < 0)
            break;
        penY = Add(DrawMemoLine(penX, penY, line), layout_.ParagraphGap);
    }
}

int MemoDrawer::DrawMemoLine(int& penX, int& penY, const std::string& text)
{
    std::vector<std::string> lines;
    SplitLine(text, 2 * n_, lines);

    if (style_.backgroundMode != 2) {
        // The rectangle covers the whole paragraph in the column where it
        // starts; it is clipped to the canvas.
        const std::int64_t width = static_cast<std::int64_t>(n_) * hpx_;
        const std::int64_t height = static_cast<std::int64_t>(lines.size()) * (hpx_ + 1);
        BlendRectangle(
            canvas_, penX, penY, width, height, style_.backgroundPercent, style_.backgroundMode == 0);
    }

    for (const std::string& line : lines) {
        DrawLineText(penX, penY, line);
        penY = Add(penY, hpx_ + 1);
        ++layout_.LineCount;
        if (layout_.LineCount >= layout_.LinesPerColumn) {
            penX = Add(penX, -(static_cast<long long>(layout_.BlockWidth) + layout_.ColumnGap));
            if (penX < 0)
                break;
            penY = layout_.TopMargin;
            layout_.LineCount = 0;
        }
    }
    return penY;
}

void MemoDrawer::DrawLineText(int x, int y, const std::string& line)
{
    if (style_.shadowMode == 1) {
        painter_.SetColor(style_.shadowColor);
        painter_.DrawText(Add(x, 1), y, line);
        painter_.DrawText(x, Add(y, 1), line);
        painter_.DrawText(Add(x, 1), Add(y, 1), line);
    } else if (style_.shadowMode == 2) {
        static constexpr int offsets[8][2]
            = { { 0, -1 }, { -1, -1 }, { 1, -1 }, { -1, 0 }, { 1, 0 }, { 0, 1 }, { -1, 1 }, { 1, 1 } };
        painter_.SetColor(style_.shadowColor);
        for (const auto& o : offsets)
            painter_.DrawText(Add(x, o[0]), Add(y, o[1]), line);
    }
    painter_.SetColor(style_.textColor);
    painter_.DrawText(x, y, line);
}

} // namespace render

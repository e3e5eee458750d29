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

// Above this a measured column width is taken as the width of one "*" times
// 2N: a font's own sums can overflow for absurd sizes, while below it the
// measured text keeps whatever rounding the font gives.
constexpr long long kMeasuredWidthLimit = 1 << 24;

} // namespace

MemoDrawer::MemoDrawer(Canvas& canvas, TextPainter& painter, const MemoStyle& style, int pixelHeight)
    : MemoDrawer(canvas, painter, style, pixelHeight, { 0, 0, canvas.Width(), canvas.Height() })
{
}

MemoDrawer::MemoDrawer(
    Canvas& canvas, TextPainter& painter, const MemoStyle& style, int pixelHeight, const platform::Rect& area)
    : canvas_(canvas)
    , painter_(painter)
    , style_(style)
    , hpx_(pixelHeight)
    , n_(std::clamp(style.charsPerLine, 1, kMaxCharsPerLine))
    , area_(area)
{
}

void MemoDrawer::DrawMemo(const std::string& title, const std::vector<std::string>& scheduleLines,
    const std::vector<std::string>& memoLines)
{
    layout_ = MemoLayout {};
    layout_.TopMargin = Add(area_.y, style_.topMargin);
    layout_.ColumnGap = std::max(painter_.TextWidth("*"), 0);
    const long long estimate = 2LL * n_ * layout_.ColumnGap;
    layout_.BlockWidth = estimate > kMeasuredWidthLimit
        ? Add(estimate, 0)
        : std::max(painter_.TextWidth(std::string(static_cast<std::size_t>(2 * n_), '*')), 0);
    layout_.ParagraphGap = style_.paragraphGap;
    layout_.LinesPerColumn = style_.linesPerColumn;
    layout_.LineCount = 0;

    int penX
        = Add(Add(static_cast<long long>(area_.x) + area_.width, -static_cast<long long>(layout_.BlockWidth)),
            -static_cast<long long>(style_.rightMargin));
    int penY = layout_.TopMargin;

    penY = Add(DrawMemoLine(penX, penY, title), layout_.ParagraphGap);
    DrawParagraphs(penX, penY, scheduleLines);
    DrawParagraphs(penX, penY, memoLines);
}

void MemoDrawer::DrawParagraphs(int& penX, int& penY, const std::vector<std::string>& paragraphs)
{
    for (const std::string& line : paragraphs) {
        if (Finished(penX, penY))
            break;
        penY = Add(DrawMemoLine(penX, penY, line), layout_.ParagraphGap);
    }
}

bool MemoDrawer::Finished(int penX, int penY) const
{
    if (penX < area_.x)
        return true;
    // Below the area in the last column that can start, nothing further
    // shows. (A negative paragraph gap may lift the pen again.)
    return layout_.ParagraphGap >= 0 && penY >= Bottom() && penX - ColumnStep() < area_.x;
}

long long MemoDrawer::ColumnStep() const
{
    // At least a pixel, so that columns always run out at the left edge.
    return std::max(static_cast<long long>(layout_.BlockWidth) + layout_.ColumnGap, 1LL);
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
        // Clipped to the area as the text is.
        const std::int64_t left = std::max<std::int64_t>(penX, area_.x);
        const std::int64_t top = std::max<std::int64_t>(penY, area_.y);
        const std::int64_t right = std::min<std::int64_t>(std::int64_t { penX } + width, Right());
        const std::int64_t bottom = std::min<std::int64_t>(std::int64_t { penY } + height, Bottom());
        if (left < right && top < bottom)
            BlendRectangle(canvas_, left, top, right - left, bottom - top, style_.backgroundPercent,
                style_.backgroundMode == 0);
    }

    const long long pitch = static_cast<long long>(hpx_) + 1;
    for (std::size_t i = 0; i < lines.size();) {
        if (penY >= Bottom() && layout_.LineCount < layout_.LinesPerColumn) {
            // The rest of this column is below the area: step over the
            // lines it still takes without drawing them.
            const std::size_t skip = std::min<std::size_t>(lines.size() - i,
                static_cast<std::size_t>(layout_.LinesPerColumn)
                    - static_cast<std::size_t>(layout_.LineCount));
            penY = Add(penY, pitch * static_cast<long long>(skip));
            layout_.LineCount += static_cast<int>(skip);
            i += skip;
        } else {
            DrawLineText(penX, penY, lines[i]);
            penY = Add(penY, pitch);
            ++layout_.LineCount;
            ++i;
        }
        if (layout_.LineCount >= layout_.LinesPerColumn) {
            penX = Add(penX, -ColumnStep());
            if (penX < area_.x)
                break;
            penY = layout_.TopMargin;
            layout_.LineCount = 0;
        }
    }
    return penY;
}

void MemoDrawer::DrawLineText(int x, int y, const std::string& line)
{
    // A line wholly above, below or right of the area (with its one-pixel
    // shadow or outline) shows nothing; the painter need not be asked.
    // Glyphs may reach a little past their cell, so the margin is wide. (On
    // the left the walk ends at the first column past the edge anyway.)
    const long long reach = 2 * (static_cast<long long>(hpx_) + 1);
    if (y > Bottom() || y + reach < area_.y || x > Right())
        return;
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

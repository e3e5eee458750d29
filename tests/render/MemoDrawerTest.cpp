#include "render/MemoDrawer.h"

#include "TestSupport.h"
#include "common/SjisLiteral.h"

#include <climits>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace render;
using namespace rendertest;

namespace {

// Measures every byte as 10 pixels (so 2N "*" is 20N wide) and records
// every draw with the colour in force.
class RecordingPainter : public TextPainter {
public:
    struct Draw {
        int x, y;
        std::string text;
        ColorRef color;
    };
    std::vector<Draw> draws;
    ColorRef color = 0;
    int charWidth = 10;

    int TextWidth(const std::string& text) override { return charWidth * static_cast<int>(text.size()); }
    void SetColor(ColorRef c) override { color = c; }
    void DrawText(int x, int y, const std::string& text) override { draws.push_back({ x, y, text, color }); }
};

constexpr ColorRef kText = 0x00FF00, kShadow = 0xC0C0C0;

MemoStyle Style(int n, int linesPerColumn, int top = 10, int right = 10, int gap = 4)
{
    MemoStyle s;
    s.charsPerLine = n;
    s.linesPerColumn = linesPerColumn;
    s.topMargin = top;
    s.rightMargin = right;
    s.paragraphGap = gap;
    s.textColor = kText;
    s.shadowColor = kShadow;
    s.backgroundMode = 2;
    return s;
}

struct Pos {
    int x, y;
    std::string text;
    bool operator==(const Pos&) const = default;
};

// The display lines: the draws in the text colour.
std::vector<Pos> Positions(const RecordingPainter& p)
{
    std::vector<Pos> out;
    for (const auto& d : p.draws)
        if (d.color == kText)
            out.push_back({ d.x, d.y, d.text });
    return out;
}

} // namespace

TEST(MemoDrawer, ColumnsFromTheRightEdgeAndTheFirstColumnPosition)
{
    // N = 15 with a 10-pixel "*": block 300, gap 10; on 1024 pixels with a
    // right margin of 300 the columns start at 424 and 114; a third would
    // start left of the edge.
    Canvas canvas(1024, 200);
    RecordingPainter painter;
    MemoDrawer drawer(canvas, painter, Style(15, 1, 10, 300, 4), 20);
    drawer.DrawMemo("T", {}, { "a", "b", "c", "d" });
    EXPECT_EQ(300, drawer.Layout().BlockWidth);
    EXPECT_EQ(10, drawer.Layout().ColumnGap);
    // One line per column: each paragraph after a break starts at top + gap.
    const std::vector<Pos> want = { { 424, 10, "T" }, { 114, 14, "a" } };
    EXPECT_EQ(want, Positions(painter));
}

TEST(MemoDrawer, ParagraphsWrapAndFlowAcrossColumns)
{
    const int hpx = 20; // pitch 21
    struct Case {
        const char* name;
        int n, linesPerColumn;
        std::string title;
        std::vector<std::string> memo;
        std::vector<Pos> want;
    };
    // Screen 500 wide, right margin 10, N = 2: block 40, first column x = 450,
    // next 450 - 50 = 400, and so on.
    const Case cases[] = {
        { "empty title is one line; gap after each paragraph", 2, 10, "", { "ab", "" },
            { { 450, 10, "" }, { 450, 35, "ab" }, { 450, 60, "" } } },
        { "exactly 2N bytes stays one line, 2N + 1 wraps", 2, 10, "abcd", { "abcde" },
            { { 450, 10, "abcd" }, { 450, 35, "abcd" }, { 450, 56, "e" } } },
        { "double-byte character not split at the limit", 2, 10, Sjis("aあい"), {},
            { { 450, 10, Sjis("aあ") }, { 450, 31, Sjis("い") } } },
        { "break inside a paragraph (N = 1: columns at 470, 440)", 1, 2, "abcde", { "x" },
            { { 470, 10, "ab" }, { 470, 31, "cd" }, { 440, 10, "e" }, { 440, 35, "x" } } },
        { "break at the end of a paragraph: next starts at top + gap", 2, 2, "t", { "a", "b", "c" },
            { { 450, 10, "t" }, { 450, 35, "a" }, { 400, 14, "b" }, { 400, 39, "c" } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(500, 300);
        RecordingPainter painter;
        MemoDrawer drawer(canvas, painter, Style(c.n, c.linesPerColumn), hpx);
        drawer.DrawMemo(c.title, {}, c.memo);
        EXPECT_EQ(c.want, Positions(painter));
    }
}

TEST(MemoDrawer, FiveLineParagraphKeepsItsRectangleInTheFirstColumn)
{
    Canvas canvas(500, 300);
    canvas.Fill(0x000000);
    RecordingPainter painter;
    MemoStyle style = Style(2, 3);
    style.backgroundMode = 0; // toward white
    style.backgroundPercent = 100;
    MemoDrawer drawer(canvas, painter, style, 20);
    // Five display lines, three to a column; the memo line then continues
    // below the two moved lines.
    drawer.DrawMemo("aaaabbbbccccddddee", {}, { "z" });
    const std::vector<Pos> want = { { 450, 10, "aaaa" }, { 450, 31, "bbbb" }, { 450, 52, "cccc" },
        { 400, 10, "dddd" }, { 400, 31, "ee" }, { 400, 56, "z" } };
    EXPECT_EQ(want, Positions(painter));
    // The title's rectangle: N x hpx = 40 wide, 5 x 21 = 105 high, at (450, 10).
    EXPECT_EQ(0xFFFFFFu, PixelAt(canvas, 450, 10));
    EXPECT_EQ(0xFFFFFFu, PixelAt(canvas, 489, 114));
    EXPECT_EQ(0u, PixelAt(canvas, 490, 114));
    EXPECT_EQ(0u, PixelAt(canvas, 450, 115));
    EXPECT_EQ(0u, PixelAt(canvas, 449, 10));
    EXPECT_EQ(0u, PixelAt(canvas, 400, 30)); // the moved lines get none
    EXPECT_EQ(0xFFFFFFu, PixelAt(canvas, 400, 56)); // the memo line its own
}

TEST(MemoDrawer, ScheduleLinesSitBetweenTitleAndMemo)
{
    std::vector<std::string> schedule;
    for (int i = 0; i < 10; ++i)
        schedule.push_back("s" + std::to_string(i));
    // Title + 10 schedule lines, five to a column, room for two columns
    // (500 wide, block 40, gap 10, right margin 400: columns at 60 and 10).
    Canvas canvas(500, 300);
    RecordingPainter painter;
    MemoDrawer drawer(canvas, painter, Style(2, 5, 10, 400), 20);
    drawer.DrawMemo("t", schedule, { "memo" });
    const auto lines = Positions(painter);
    ASSERT_EQ(10u, lines.size()); // title, s0..s8; s9 and the memo are left out
    EXPECT_EQ("t", lines[0].text);
    EXPECT_EQ((Pos { 60, 10, "t" }), lines[0]);
    EXPECT_EQ((Pos { 60, 110, "s3" }), lines[4]);
    EXPECT_EQ((Pos { 10, 14, "s4" }), lines[5]);
    EXPECT_EQ("s8", lines[9].text);

    // No schedule lines: the memo follows the title one gap below.
    RecordingPainter p;
    MemoDrawer d(canvas, p, Style(2, 5), 20);
    d.DrawMemo("t", {}, { "m" });
    EXPECT_EQ((std::vector<Pos> { { 450, 10, "t" }, { 450, 35, "m" } }), Positions(p));
}

TEST(MemoDrawer, ShadowAndOutlineDrawBeforeTheTextAtTheirOffsets)
{
    const struct {
        int mode;
        std::vector<std::pair<int, int>> offsets;
    } cases[] = {
        { 0, {} },
        { 1, { { 1, 0 }, { 0, 1 }, { 1, 1 } } },
        { 2, { { 0, -1 }, { -1, -1 }, { 1, -1 }, { -1, 0 }, { 1, 0 }, { 0, 1 }, { -1, 1 }, { 1, 1 } } },
    };
    for (const auto& c : cases) {
        Canvas canvas(500, 100);
        RecordingPainter painter;
        MemoStyle style = Style(2, 5);
        style.shadowMode = c.mode;
        MemoDrawer drawer(canvas, painter, style, 20);
        drawer.DrawMemo("t", {}, {});
        ASSERT_EQ(c.offsets.size() + 1, painter.draws.size()) << c.mode;
        for (std::size_t i = 0; i < c.offsets.size(); ++i) {
            EXPECT_EQ(kShadow, painter.draws[i].color);
            EXPECT_EQ(450 + c.offsets[i].first, painter.draws[i].x);
            EXPECT_EQ(10 + c.offsets[i].second, painter.draws[i].y);
        }
        EXPECT_EQ(kText, painter.draws.back().color);
    }
}

TEST(MemoDrawer, RectanglesOutsideTheCanvasAreClippedNotAnError)
{
    // A negative top margin, a column taller than the screen and a right
    // margin that pushes the block past the left edge all still draw.
    const struct {
        int top, right, linesPerColumn;
    } cases[] = { { -30, 10, 10 }, { 10, 10, 100 }, { 10, -30, 3 }, { 10, 480, 3 } };
    for (const auto& c : cases) {
        Canvas canvas(100, 60);
        canvas.Fill(0);
        RecordingPainter painter;
        MemoStyle style = Style(2, c.linesPerColumn, c.top, c.right);
        style.backgroundMode = 1;
        style.backgroundPercent = 50;
        MemoDrawer drawer(canvas, painter, style, 20);
        std::vector<std::string> memo(8, "abcdabcd");
        EXPECT_NO_THROW(drawer.DrawMemo("title", {}, memo)) << c.top << " " << c.right;
        EXPECT_FALSE(painter.draws.empty());
    }
}

TEST(MemoDrawer, AbsurdSettingsCostOnlyWhatFitsOnTheCanvas)
{
    // 200,000 memo paragraphs of two display lines each; however the block
    // is set, only lines that can show are drawn, and the first ones still
    // land where they belong.
    const std::vector<std::string> memo(200000, "abcdabcd");
    const struct {
        const char* name;
        int n, linesPerColumn, hpx, gap, right, charWidth;
        std::size_t maxDraws;
    } cases[] = {
        { "a column longer than any screen", 2, INT_MAX, 20, 4, 10, 10, 16 },
        { "a font far larger than the screen", 4096, 20, 10000, 4, 10, 5000, 1 },
        { "huge font, a line per column", 4096, 1, 10000, 4, 10, 5000, 1 },
        { "narrow columns across the screen", 1, 3, 20, 4, 10, 10, 3 * (500 / 30 + 1) },
        { "a negative gap lifting the pen", 2, INT_MAX, 20, -50, 10, 10, 16 },
        { "gap at the int limit", 2, INT_MAX, 20, INT_MAX, 10, 10, 2 },
        // 2,000 columns right of the canvas before the first that shows.
        { "a block starting far right of the canvas", 2, 3, 20, 4, -100000, 10, 3 * 10 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(500, 300);
        RecordingPainter painter;
        painter.charWidth = c.charWidth;
        MemoDrawer drawer(canvas, painter, Style(c.n, c.linesPerColumn, 10, c.right, c.gap), c.hpx);
        drawer.DrawMemo("t", {}, memo);
        ASSERT_FALSE(painter.draws.empty());
        if (c.right >= 0) {
            EXPECT_EQ("t", painter.draws.front().text);
        }
        EXPECT_LE(painter.draws.size(), c.maxDraws);
        for (const auto& d : painter.draws) {
            EXPECT_LT(d.y, 300);
            EXPECT_LT(d.x, 500);
        }
    }
}

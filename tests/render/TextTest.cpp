#include "TestSupport.h"
#include "common/SjisLiteral.h"
#include "render/Blend.h"
#include "render/LineWrap.h"
#include "render/MemoDate.h"
#include "render/QtTextPainter.h"

#include <QFontInfo>
#include <gtest/gtest.h>

using namespace render;
using namespace rendertest;

TEST(LineWrap, ByteKindFollowsShiftJisLeadAndTrailBytes)
{
    // "aア" = 61 83 41 ("ア" has a trail byte in the ASCII range), then
    // half-width "ｱ" B1 and "あ" 82 A0.
    const std::string text = "a\x83\x41\xb1\x82\xa0";
    const int want[] = { -1, 0, 1, 2, 0, 1, 2, -1 };
    for (int pos = 0; pos <= 7; ++pos)
        EXPECT_EQ(want[pos], ByteKindAt(text, pos)) << pos;
}

TEST(LineWrap, SplitsAtTwoNBytesWithoutBreakingCharacters)
{
    const std::string a29(29, 'a');
    const struct {
        std::string text;
        int limit;
        std::vector<std::string> want;
    } cases[] = {
        { "", 30, { "" } },
        { std::string(30, 'x'), 30, { std::string(30, 'x') } },
        { std::string(31, 'x'), 30, { std::string(30, 'x'), "x" } },
        // N = 15: 29 half-width then a full-width character whose lead
        // byte is byte 30: it opens the second line.
        { a29 + Sjis("あ"), 30, { a29, Sjis("あ") } },
        { Sjis("あいう"), 4, { Sjis("あい"), Sjis("う") } },
        { Sjis("アアア"), 3, { Sjis("ア"), Sjis("ア"), Sjis("ア") } },
        // Limits below 2 still make progress.
        { Sjis("あい"), 1, { Sjis("あ"), Sjis("い") } },
        { "abc", 0, { "ab", "c" } },
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines { "stale" };
        SplitLine(c.text, c.limit, lines);
        EXPECT_EQ(c.want, lines) << c.text << " / " << c.limit;
    }
}

TEST(Blend, LightensOrDarkensEachByteInIntegerSteps)
{
    const struct {
        int percent;
        bool white;
        std::uint8_t in, out;
    } cases[] = {
        { 0, true, 123, 123 }, { 50, true, 0, 127 }, { 50, true, 100, 177 }, { 100, true, 3, 255 },
        { 100, false, 250, 0 }, { 50, false, 255, 127 },
        { 150, true, 0, 124 }, // 150 % 101 = 49: 255 * 49 / 100
        { -50, false, 200, 255 }, // 200 * 150 / 100 = 300, kept within a byte
        { -50, true, 10, 0 }, // (10 * 150 - 12750) / 100 < 0
    };
    for (const auto& c : cases) {
        Canvas canvas(3, 3, Canvas::Init::Uninitialized);
        canvas.Fill(static_cast<ColorRef>(c.in) * 0x010101u);
        BlendRectangle(canvas, 1, 1, 1, 1, c.percent, c.white);
        EXPECT_EQ(c.out * 0x010101u, PixelAt(canvas, 1, 1)) << c.percent << " " << int(c.in);
        EXPECT_EQ(c.in * 0x010101u, PixelAt(canvas, 0, 1));
        EXPECT_EQ(c.in * 0x010101u, PixelAt(canvas, 2, 2));
    }
    // Entirely or partly outside: clipped, the rest untouched, no error.
    Canvas canvas(4, 4, Canvas::Init::Uninitialized);
    canvas.Fill(0);
    BlendRectangle(canvas, -2, -2, 3, 100, 100, true);
    BlendRectangle(canvas, 10, 10, 5, 5, 100, true);
    EXPECT_EQ(0xFFFFFFu, PixelAt(canvas, 0, 3));
    EXPECT_EQ(0u, PixelAt(canvas, 1, 0));
}

TEST(MemoDate, TitleCarriesTheShortDateAndWeekday)
{
    EXPECT_EQ("2026/12/07", LocaleShortDate(QLocale("ja_JP"), std::chrono::year(2026) / 12 / 7));
    const ShortDateFormat fixed = [](const std::chrono::year_month_day& d) {
        return std::to_string(static_cast<int>(d.year())) + "-"
            + std::to_string(static_cast<unsigned>(d.day()));
    };
    const std::string title = Sjis("忘れずに！");
    // 2026-12-09 is a Wednesday (水), 2026-12-06 a Sunday (日), 2026-12-12 a Saturday (土).
    EXPECT_EQ(title + Sjis("2026-9(水)"), BuildTitle(title, true, std::chrono::year(2026) / 12 / 9, fixed));
    EXPECT_EQ(Sjis("2026-6(日)"), BuildTitle("", true, std::chrono::year(2026) / 12 / 6, fixed));
    EXPECT_EQ(Sjis("2026-12(土)"), BuildTitle("", true, std::chrono::year(2026) / 12 / 12, fixed));
    EXPECT_EQ(title, BuildTitle(title, false, std::chrono::year(2026) / 12 / 9, fixed));
}

TEST(MemoDate, CLocaleWritesTheJapaneseShortDateOthersKeepTheirOwn)
{
    const struct {
        QLocale locale;
        const char* want;
    } cases[] = {
        { QLocale::c(), "2026/01/07" },
        { QLocale("C"), "2026/01/07" },
        { QLocale("POSIX"), "2026/01/07" },
        { QLocale("ja_JP"), "2026/01/07" },
        { QLocale("de_DE"), "07.01.26" },
        { QLocale("en_US"), "1/7/26" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.want, LocaleShortDate(c.locale, std::chrono::year(2026) / 1 / 7))
            << c.locale.name().toStdString();
}

TEST(QtText, GothicFaceResolvesToIpaGothicAtTheComputedHeight)
{
    const struct {
        int points, dpi, pixels;
    } heights[] = { { 15, 96, 20 }, { 19, 96, 25 }, { 9, 100, 13 } /* 12.5 rounds up */, { 15, 144, 30 },
        { 0, 96, 1 }, { -5, 96, 1 } };
    for (const auto& h : heights)
        EXPECT_EQ(h.pixels, FontPixelHeight(h.points, h.dpi)) << h.points << "pt at " << h.dpi;
    Canvas canvas(200, 60);
    QtTextPainter painter(canvas, Sjis("ＭＳ ゴシック"), 20);
    EXPECT_EQ("IPAGothic", QFontInfo(painter.Font()).family().toStdString());
    // Metric-compatible: a full-width character twice a half-width one.
    EXPECT_EQ(2 * painter.TextWidth("*"), painter.TextWidth(Sjis("あ")));
    EXPECT_EQ(20 * painter.TextWidth("*"), painter.TextWidth(std::string(20, '*')));
}

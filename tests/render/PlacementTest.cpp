// The desktop's own placement modes by pixels, the canvas and text area
// from the monitors, and the whole draw on injected monitor layouts.
#include "TestSupport.h"
#include "app/DrawKabegami.h"
#include "platform/FixedDesktop.h"
#include "render/DesktopLayout.h"
#include "render/QtTextPainter.h"

#include <gtest/gtest.h>

using namespace render;
using namespace rendertest;
using platform::Placement;

namespace {

constexpr std::uint32_t kDesktop = 0x00336699;
constexpr std::uint32_t kRed = 0x0000FF, kLime = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// 40 x 20: four upright stripes, 10 pixels each: red, lime, blue, white.
std::string Stripes(const TempDir& dir)
{
    const std::string path = dir.File("stripes.png");
    EXPECT_EQ(0,
        Shell("convert -size 40x20 xc:red -fill lime -draw 'rectangle 10,0 19,19' -fill blue -draw "
              "'rectangle 20,0 29,19' -fill white -draw 'rectangle 30,0 39,19' "
            + path));
    return path;
}

platform::Monitor Screen(platform::Rect geometry, platform::Rect work, double scale, bool primary)
{
    return { geometry, work, scale, primary };
}

} // namespace

TEST(Placement, EachModeComposesAsTheDesktopShowsIt)
{
    TempDir dir;
    const std::string stripes = Stripes(dir);
    struct Case {
        const char* name;
        Placement placement;
        int width, height;
        std::vector<std::tuple<int, int, std::uint32_t>> probes;
    };
    const Case cases[] = {
        { "none: the colour alone", Placement::None, 20, 10, { { 10, 5, kDesktop } } },
        { "centred, (60-40)/2 and (30-20)/2", Placement::Centered, 60, 30,
            { { 5, 5, kDesktop }, { 15, 10, kRed }, { 45, 10, kWhite }, { 55, 28, kDesktop } } },
        { "centred, larger than the screen: cut evenly", Placement::Centered, 20, 10,
            { { 0, 0, kLime }, { 19, 9, kBlue } } },
        { "tiled from the top-left corner", Placement::Wallpaper, 50, 25,
            { { 5, 5, kRed }, { 45, 5, kRed }, { 15, 22, kLime } } },
        { "stretched", Placement::Stretched, 80, 10,
            { { 10, 5, kRed }, { 30, 5, kLime }, { 50, 5, kBlue }, { 70, 5, kWhite } } },
        { "scaled into a taller screen: colour above and below", Placement::Scaled, 40, 40,
            { { 5, 5, kDesktop }, { 5, 20, kRed }, { 35, 20, kWhite }, { 5, 35, kDesktop } } },
        { "scaled into a wider screen: colour left and right", Placement::Scaled, 80, 20,
            { { 10, 10, kDesktop }, { 25, 10, kRed }, { 55, 10, kWhite }, { 70, 10, kDesktop } } },
        { "zoom on a square screen: the middle two stripes", Placement::Zoom, 20, 20,
            { { 5, 10, kLime }, { 15, 10, kBlue } } },
        { "zoom on a wider screen: twice as large, cut top and bottom", Placement::Zoom, 80, 20,
            { { 10, 10, kRed }, { 30, 10, kLime }, { 50, 10, kBlue }, { 70, 10, kWhite } } },
        { "spanned: zoom over the canvas", Placement::Spanned, 20, 20, { { 5, 10, kLime } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Canvas canvas = ComposeFile(stripes, c.placement, c.width, c.height, kDesktop, {});
        ASSERT_EQ(c.width, canvas.Width());
        for (const auto& [x, y, want] : c.probes)
            EXPECT_EQ(want, PixelAt(canvas, x, y)) << "at " << x << "," << y;
    }
    // Smooth, not dropped pixels: where red meets lime at twice the size
    // the pixel is a mixture.
    const std::uint32_t edge
        = PixelAt(ComposeFile(stripes, Placement::Stretched, 80, 10, kDesktop, {}), 19, 5);
    EXPECT_GT(edge >> 8 & 0xFF, 0x20u);
    EXPECT_GT(edge & 0xFF, 0x20u);
    // A missing picture leaves the colour, as with the older values.
    EXPECT_EQ(
        kDesktop, PixelAt(ComposeFile(dir.File("gone.png"), Placement::Zoom, 4, 4, kDesktop, {}), 1, 1));
}

TEST(Placement, CanvasAndTextAreaComeFromThePrimaryMonitor)
{
    // A 1920 x 1080 monitor at 100 % on the left; the primary, 3840 x 2160
    // at 200 %, on its right with a 64-pixel top bar.
    const platform::Monitor left = Screen({ 0, 0, 1920, 1080 }, { 0, 0, 1920, 1080 }, 1.0, false);
    const platform::Monitor right = Screen({ 1920, 0, 3840, 2160 }, { 1920, 64, 3840, 2096 }, 2.0, true);
    struct Case {
        const char* name;
        std::vector<platform::Monitor> monitors;
        Placement placement;
        int width, height;
        platform::Rect area;
        double scale;
    };
    const Case cases[] = {
        { "no monitors: the screen", {}, Placement::Zoom, 1024, 768, { 0, 0, 1024, 768 }, 1.0 },
        { "the primary of two, below its top bar", { left, right }, Placement::Zoom, 3840, 2160,
            { 0, 64, 3840, 2096 }, 2.0 },
        { "older values: the same monitor", { left, right }, Placement::ClassicStretched, 3840, 2160,
            { 0, 64, 3840, 2096 }, 2.0 },
        { "spanned: around both, the text on the primary", { left, right }, Placement::Spanned, 5760, 2160,
            { 1920, 64, 3840, 2096 }, 2.0 },
        { "a left panel; none marked primary: the first",
            { Screen({ 0, 0, 1600, 900 }, { 48, 0, 1552, 900 }, 1.25, false), left }, Placement::Zoom, 1600,
            900, { 48, 0, 1552, 900 }, 1.25 },
        { "an empty work area is the whole monitor", { Screen({ 0, 0, 800, 600 }, {}, 1.0, true) },
            Placement::Zoom, 800, 600, { 0, 0, 800, 600 }, 1.0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::DesktopState desktop;
        desktop.screen = { 1024, 768 };
        desktop.monitors = c.monitors;
        desktop.placement = c.placement;
        const DesktopLayout layout = LayoutFor(desktop);
        EXPECT_EQ(c.width, layout.width);
        EXPECT_EQ(c.height, layout.height);
        EXPECT_EQ(c.area, layout.textArea);
        EXPECT_EQ(c.scale, layout.scale);
    }
    // The font follows the monitor's scale: 15 points at 96 dpi are 20
    // pixels, 40 at 200 %, 25 at 125 %.
    EXPECT_EQ(20, FontPixelHeight(15, 96, 1.0));
    EXPECT_EQ(40, FontPixelHeight(15, 96, 2.0));
    EXPECT_EQ(25, FontPixelHeight(15, 96, 1.25));
}

TEST(Placement, TheTextBlockStaysInsideThePrimaryWorkArea)
{
    TempDir dir;
    platform::FixedDesktop desktop;
    desktop.state.picture = Stripes(dir);
    app::DrawRequest request;
    for (int i = 0; i < 40; ++i)
        request.memo += "a memo line that wraps\r\n";
    request.outputFile = dir.File("kabegami.bmp");
    request.install = false;
    const struct {
        const char* name;
        std::vector<platform::Monitor> monitors;
        Placement placement;
        platform::Rect area; // where the text may be, in the drawn picture
    } cases[] = {
        { "a top bar and a left panel", { Screen({ 0, 0, 640, 360 }, { 100, 40, 540, 320 }, 1.0, true) },
            Placement::Zoom, { 100, 40, 540, 320 } },
        { "spanned, the primary on the right",
            { Screen({ 0, 0, 400, 300 }, { 0, 0, 400, 300 }, 1.0, false),
                Screen({ 400, 0, 640, 360 }, { 400, 30, 640, 330 }, 2.0, true) },
            Placement::Spanned, { 400, 30, 640, 330 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.state.monitors = c.monitors;
        desktop.state.placement = c.placement;
        request.settings.ChShowMemo = true; // the picture alone
        ASSERT_TRUE(app::DrawKabegami(desktop, request));
        const Canvas background = LoadBmpFile(request.outputFile.string());
        request.settings.ChShowMemo = false;
        ASSERT_TRUE(app::DrawKabegami(desktop, request));
        const Canvas drawn = LoadBmpFile(request.outputFile.string());
        ASSERT_EQ(background.Width(), drawn.Width());
        int inside = 0, outside = 0, top = drawn.Height(), right = 0;
        for (int y = 0; y < drawn.Height(); ++y)
            for (int x = 0; x < drawn.Width(); ++x) {
                if (PixelAt(drawn, x, y) == PixelAt(background, x, y))
                    continue;
                const platform::Rect& a = c.area;
                const bool in = x >= a.x && x < a.x + a.width && y >= a.y && y < a.y + a.height;
                (in ? inside : outside) += 1;
                top = std::min(top, y);
                right = std::max(right, x);
            }
        EXPECT_GT(inside, 1000);
        EXPECT_EQ(0, outside);
        // The margins (10 and 10 by default) count from the area's edges.
        EXPECT_GE(top, c.area.y + 9);
        EXPECT_LE(right, c.area.x + c.area.width - 1);
    }
}

#include "render/Kabegami.h"

#include "TestSupport.h"
#include "common/SjisLiteral.h"
#include "platform/FixedDesktop.h"
#include "render/Background.h"
#include "render/BmpReader.h"
#include "render/BmpWriter.h"
#include "render/RenderError.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace render;
using namespace rendertest;

namespace {

struct Fixture {
    TempDir dir;
    platform::FixedDesktop desktop;
    FakeSchedule schedule;
    KabegamiRequest request;

    Fixture()
    {
        desktop.screen = { 640, 360 };
        desktop.desktopColor = 0x00402010;
        EXPECT_EQ(0, Shell("convert -size 320x180 gradient:navy-orange " + dir.File("user.ppm")));
        EXPECT_EQ(0, Shell("cjpeg -outfile " + dir.File("user.jpg") + " " + dir.File("user.ppm")));
        desktop.settings = { dir.File("user.jpg"), "0", "2" };
        schedule.lines = { Sjis("0日後毎週水曜日 ゴミ") };
        request.memoLines = { "memo line", Sjis("メモ") };
        request.schedule = &schedule;
        request.today = { 2026, 12, 9 };
        request.shortDate = [](const Date&) { return std::string("2026/12/09"); };
        request.outputPath = dir.File("kabegami.bmp");
        request.settings.RgKage = 2;
    }
};

} // namespace

TEST(Kabegami, DrawsTextOnThePictureAndInstallsTheFile)
{
    Fixture f;
    ASSERT_TRUE(DrawKabegami(f.desktop, f.request));
    ASSERT_EQ(1u, f.desktop.installed.size());
    EXPECT_EQ(f.request.outputPath, f.desktop.installed[0]);
    const Canvas drawn = LoadBmpFile(f.request.outputPath);
    const Canvas background = ComposeBackground(f.desktop.settings, 640, 360, f.desktop.desktopColor);
    ASSERT_EQ(640, drawn.Width());
    ASSERT_EQ(360, drawn.Height());
    // The block stands right of 640 - 300 (right margin) and top 10; the
    // rest of the picture is untouched.
    int changedInBlock = 0, changedElsewhere = 0, lime = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 640; ++x) {
            const bool differs = PixelAt(drawn, x, y) != PixelAt(background, x, y);
            const bool inBlock = x >= 640 - 300 - 310 && x < 640 - 300 + 2 && y >= 9;
            (inBlock ? changedInBlock : changedElsewhere) += differs;
            lime += PixelAt(drawn, x, y) == 0x00FF00u;
        }
    EXPECT_GT(changedInBlock, 1000);
    EXPECT_EQ(0, changedElsewhere);
    EXPECT_GT(lime, 100);

    // A second draw starts again from the user's picture: the same file.
    const std::string first = ReadBytes(f.request.outputPath);
    DrawKabegami(f.desktop, f.request);
    EXPECT_TRUE(first == ReadBytes(f.request.outputPath));
}

TEST(Kabegami, HiddenMemoLeavesTheBackgroundAlone)
{
    Fixture f;
    f.request.settings.ChShowMemo = true;
    f.schedule.fail = true; // not even asked
    ASSERT_TRUE(DrawKabegami(f.desktop, f.request));
    const Canvas drawn = LoadBmpFile(f.request.outputPath);
    const Canvas background = ComposeBackground(f.desktop.settings, 640, 360, f.desktop.desktopColor);
    for (int y = 0; y < 360; y += 7)
        for (int x = 0; x < 640; x += 7)
            ASSERT_EQ(PixelAt(background, x, y), PixelAt(drawn, x, y));
}

TEST(Kabegami, AFailedDrawKeepsTheEarlierFileAndInstallsNothing)
{
    Fixture f;
    WriteBmpFile(Canvas(2, 2), f.request.outputPath);
    const std::string before = ReadBytes(f.request.outputPath);

    f.schedule.fail = true;
    EXPECT_THROW(DrawKabegami(f.desktop, f.request), std::runtime_error);
    f.schedule.fail = false;
    WriteBytes(f.dir.File("broken.bmp"), "BM broken");
    f.desktop.settings = { f.dir.File("broken.bmp"), "0", "0" };
    EXPECT_THROW(DrawKabegami(f.desktop, f.request), RenderError);

    EXPECT_TRUE(before == ReadBytes(f.request.outputPath));
    EXPECT_TRUE(f.desktop.installed.empty());
}

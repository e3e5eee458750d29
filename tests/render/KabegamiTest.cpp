// The whole draw as the window and corkpane-tool run it: settings, schedule
// and desktop in, a written and installed wallpaper out.
#include "TestSupport.h"
#include "app/DrawKabegami.h"
#include "common/SjisLiteral.h"
#include "platform/FileIo.h"
#include "platform/FixedDesktop.h"
#include "render/RenderError.h"
#include "schedule/TScheduleTable.h"

#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

using namespace render;
using namespace rendertest;

namespace {

using std::chrono::December;
using std::chrono::year;

struct Fixture {
    TempDir dir;
    platform::FixedDesktop desktop;
    std::unique_ptr<schedule::TScheduleTable> schedule;
    app::DrawRequest request;

    Fixture()
    {
        desktop.state.screen = { 640, 360 };
        desktop.state.colour = 0x00402010;
        EXPECT_EQ(0, Shell("convert -size 320x180 gradient:navy-orange " + dir.File("user.ppm")));
        EXPECT_EQ(0, Shell("cjpeg -outfile " + dir.File("user.jpg") + " " + dir.File("user.ppm")));
        desktop.state.picture = dir.File("user.jpg");
        desktop.state.placement = platform::Placement::ClassicStretched;
        WriteBytes(dir.File("schedule.txt"), Sjis("\"\",\"毎週水曜日\",\"ゴミ\"\r\n"));
        schedule = std::make_unique<schedule::TScheduleTable>(dir.File("schedule.txt"));
        request.memo = "memo line\r\n" + Sjis("メモ");
        request.schedule = schedule.get();
        request.today = year(2026) / December / 9; // a Wednesday
        request.shortDate = [](const std::chrono::year_month_day&) { return std::string("2026/12/09"); };
        request.outputFile = dir.File("kabegami.bmp");
        request.settings.RgKage = 2;
    }

    Canvas Background() const
    {
        return ComposeFile(desktop.state.picture, desktop.state.placement, 640, 360, desktop.state.colour);
    }
};

} // namespace

TEST(DrawKabegami, DrawsTextOnThePictureAndInstallsTheFile)
{
    Fixture f;
    ASSERT_TRUE(app::DrawKabegami(f.desktop, f.request));
    ASSERT_EQ(1u, f.desktop.installed.size());
    EXPECT_EQ(f.request.outputFile, f.desktop.installed[0].file);
    EXPECT_EQ(1, f.desktop.reads); // the desktop is asked once a draw
    const Canvas drawn = LoadBmpFile(f.request.outputFile.string());
    const Canvas background = f.Background();
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
    const std::string first = ReadBytes(f.request.outputFile.string());
    app::DrawKabegami(f.desktop, f.request);
    EXPECT_TRUE(first == ReadBytes(f.request.outputFile.string()));
}

TEST(DrawKabegami, HiddenMemoLeavesTheBackgroundAlone)
{
    Fixture f;
    f.request.settings.ChShowMemo = true;
    ASSERT_TRUE(app::DrawKabegami(f.desktop, f.request));
    const Canvas drawn = LoadBmpFile(f.request.outputFile.string());
    const Canvas background = f.Background();
    for (int y = 0; y < 360; y += 7)
        for (int x = 0; x < 640; x += 7)
            ASSERT_EQ(PixelAt(background, x, y), PixelAt(drawn, x, y));
}

TEST(DrawKabegami, AFailedDrawKeepsTheEarlierFileAndInstallsNothing)
{
    Fixture f;
    WriteBmpFile(Canvas(2, 2), f.request.outputFile.string());
    const std::string before = ReadBytes(f.request.outputFile.string());

    WriteBytes(f.dir.File("broken.bmp"), "BM broken");
    f.desktop.state.picture = f.dir.File("broken.bmp");
    EXPECT_THROW(app::DrawKabegami(f.desktop, f.request), RenderError);
    // A picture that cannot be opened: the file unit's own error, as it
    // raised it.
    ::mkdir(f.dir.File("folder.jpg").c_str(), 0700);
    f.desktop.state.picture = f.dir.File("folder.jpg");
    EXPECT_THROW(app::DrawKabegami(f.desktop, f.request), platform::FileIoError);

    EXPECT_TRUE(before == ReadBytes(f.request.outputFile.string()));
    EXPECT_TRUE(f.desktop.installed.empty());
}

TEST(DrawKabegami, SceneTakesTheSettingsOnce)
{
    Fixture f;
    app::Settings& s = f.request.settings;
    s.EdScW.SetText("0");
    render::KabegamiScene scene = app::TextSceneFor(f.request);
    EXPECT_EQ(Sjis("忘れずに！2026/12/09(水)"), scene.title);
    EXPECT_EQ(std::vector<std::string> { Sjis("0日後毎週水曜日 ゴミ") }, scene.scheduleLines);
    EXPECT_EQ((std::vector<std::string> { "memo line", Sjis("メモ") }), scene.memoLines);

    // The holidays within the dated window follow the box.
    s.EdScD.SetText("23");
    EXPECT_EQ((std::vector<std::string> { Sjis("0日後毎週水曜日 ゴミ"), Sjis("23日後1月1日 元日") }),
        app::TextSceneFor(f.request).scheduleLines);
    s.ChShukujitsu = false;
    EXPECT_EQ(std::vector<std::string> { Sjis("0日後毎週水曜日 ゴミ") },
        app::TextSceneFor(f.request).scheduleLines);

    // Not ticked: no schedule lines; the memo hidden: no text at all.
    s.ChScMemo = false;
    EXPECT_TRUE(app::TextSceneFor(f.request).scheduleLines.empty());
    s.ChShowMemo = true;
    scene = app::TextSceneFor(f.request);
    EXPECT_FALSE(scene.showText);
    EXPECT_TRUE(scene.title.empty() && scene.memoLines.empty());
}

TEST(DrawKabegami, OverridesReplaceWhatTheDesktopSaysAndAskNothingWhenComplete)
{
    Fixture f;
    f.request.install = false;
    f.request.overrides.screen = platform::ScreenSize { 30, 20 };
    ASSERT_TRUE(app::DrawKabegami(f.desktop, f.request));
    EXPECT_EQ(1, f.desktop.reads);
    EXPECT_EQ(30, LoadBmpFile(f.request.outputFile.string()).Width());
    f.request.overrides.picture = "";
    f.request.overrides.placement = platform::Placement::None;
    f.request.overrides.pixelsPerInch = 96;
    f.request.overrides.colour = 0x0000FF;
    f.request.settings.ChShowMemo = true;
    ASSERT_TRUE(app::DrawKabegami(f.desktop, f.request));
    EXPECT_EQ(1, f.desktop.reads);
    EXPECT_EQ(0x0000FFu, PixelAt(LoadBmpFile(f.request.outputFile.string()), 29, 19));
}

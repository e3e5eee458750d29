#include "CommandRegistry.h"
#include "TestSupport.h"
#include "app/FilesLock.h"
#include "common/SjisLiteral.h"
#include "render/BmpReader.h"
#include "render/RenderError.h"
#include "render/Texts.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace rendertest;

namespace {

// Runs corkpane-tool draw inside a scratch folder holding the user's files.
class DrawCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.Path());
        // Two memo lines and one weekly entry due today (2026-12-09 is a Wednesday).
        WriteBytes("memo.txt", Sjis("first memo line\r\nメモ\r\n"));
        WriteBytes("schedule.txt", Sjis("\"1\",\"毎週水曜日\",\"ゴミ\"\r\n"));
        WriteBytes("empty.txt", "");
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    int Draw(std::vector<std::string> args)
    {
        args.insert(args.begin(), "draw");
        std::istringstream in;
        std::ostringstream out;
        err_.str("");
        tool::Io io { in, out, err_ };
        return tool::CommandRegistry::Instance().Run(args, io);
    }

    std::vector<std::string> Fixed(const std::string& wallpaper = "")
    {
        return { "--screen", "1024x300", "--dpi", "96", "--desktop-color", "255", "--wallpaper", wallpaper,
            "--tile", "0", "--style", "0", "--today", "2026-12-09" };
    }

    TempDir dir_;
    std::filesystem::path previous_;
    std::ostringstream err_;
};

} // namespace

TEST_F(DrawCommand, WritesTheWallpaperFromTheUsersFiles)
{
    ASSERT_EQ(tool::kExitOk, Draw(Fixed())) << err_.str();
    const render::Canvas drawn = LoadBmpFile("kabegami.bmp");
    EXPECT_EQ(1024, drawn.Width());
    EXPECT_EQ(300, drawn.Height());
    EXPECT_EQ(0x0000FFu, PixelAt(drawn, 0, 299)); // desktop colour 255: red
    const std::string withSchedule = ReadBytes("kabegami.bmp");

    std::vector<std::string> noSchedule = Fixed();
    noSchedule.insert(noSchedule.end(), { "--schedule", "empty.txt" });
    ASSERT_EQ(tool::kExitOk, Draw(noSchedule));
    EXPECT_TRUE(withSchedule != ReadBytes("kabegami.bmp")); // the schedule line was drawn
    ASSERT_EQ(tool::kExitOk, Draw(Fixed()));
    EXPECT_TRUE(withSchedule == ReadBytes("kabegami.bmp"));
}

TEST_F(DrawCommand, PlacementReplacesTheTileAndStyleValues)
{
    ASSERT_EQ(0, Shell("convert -size 100x100 xc:blue wall.png"));
    // Centred by the older values: red desktop colour at the corner; zoomed
    // by the desktop's mode: the blue picture everywhere.
    ASSERT_EQ(tool::kExitOk, Draw(Fixed("wall.png"))) << err_.str();
    EXPECT_EQ(0x0000FFu, PixelAt(LoadBmpFile("kabegami.bmp"), 0, 299));
    std::vector<std::string> zoom = Fixed("wall.png");
    zoom.insert(zoom.end(), { "--placement", "zoom" });
    ASSERT_EQ(tool::kExitOk, Draw(zoom)) << err_.str();
    EXPECT_EQ(0xFF0000u, PixelAt(LoadBmpFile("kabegami.bmp"), 0, 299));
}

TEST_F(DrawCommand, ErrorsGoToStandardErrorAndWriteNothing)
{
    WriteBytes("broken.bmp", "BMnot a bitmap");
    EXPECT_EQ(tool::kExitFailure, Draw(Fixed("broken.bmp")));
    EXPECT_EQ(render::texts::kInvalidBitmap + "\n", err_.str());
    EXPECT_FALSE(std::filesystem::exists("kabegami.bmp"));

    const std::vector<std::vector<std::string>> usage = { { "--screen", "0x10" }, { "--dpi", "x" },
        { "--today", "2026-02-30" }, { "--desktop-color", "-1" }, { "--frobnicate", "1" }, { "--wallpaper" },
        { "--placement", "tiled" } };
    for (const auto& args : usage) {
        EXPECT_EQ(tool::kExitUsage, Draw(args)) << args[0];
        EXPECT_FALSE(err_.str().empty());
    }
    EXPECT_FALSE(std::filesystem::exists("kabegami.bmp"));
}

// The daily redraw leaves the day to a run that holds the files (the window,
// the logon run): it draws nothing, says so and is no failure for systemd.
TEST_F(DrawCommand, TheDailyRedrawSkipsWhileAnotherRunHoldsTheFiles)
{
    const auto held = platform::FolderLock::Take(".", std::chrono::milliseconds::zero());
    ASSERT_TRUE(held);
    std::vector<std::string> args = Fixed();
    args.push_back("--install");
    EXPECT_EQ(tool::kExitOk, Draw(args));
    EXPECT_EQ(err_.str(), app::RedrawSkippedMessage(".") + "\n");
    EXPECT_FALSE(std::filesystem::exists("kabegami.bmp"));
}

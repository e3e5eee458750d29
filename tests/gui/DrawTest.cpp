#include "WindowFixture.h"
#include "gui/RadioGroup.h"
#include "platform/SjisText.h"

#include <QCheckBox>
#include <QPushButton>
#include <cstdint>

namespace {

class GuiDraw : public WindowFixture {
protected:
    // Width and height from a BMP's information header.
    static std::pair<std::int32_t, std::int32_t> BmpSize(const std::string& bytes)
    {
        auto read = [&](std::size_t at) {
            return static_cast<std::int32_t>(static_cast<std::uint8_t>(bytes[at])
                | static_cast<std::uint8_t>(bytes[at + 1]) << 8
                | static_cast<std::uint8_t>(bytes[at + 2]) << 16
                | static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 3])) << 24);
        };
        return bytes.size() < 26 ? std::pair { 0, 0 } : std::pair { read(18), read(22) };
    }
};

TEST_F(GuiDraw, ButtonWritesAndInstallsTheScreenSizedWallpaper)
{
    auto window = MakeWindow();
    window->SetMemoText("first\r\nsecond");
    Find<QPushButton>(*window, "BtnDraw")->click();
    EXPECT_TRUE(dialogs_.shown.empty());
    const std::string bmp = ReadFile("kabegami.bmp");
    ASSERT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(BmpSize(bmp), std::pair(320, 240));
    ASSERT_EQ(desktop_.installed.size(), 1U);
    EXPECT_EQ(desktop_.installed[0].file.filename(), "kabegami.bmp");

    // Hiding the memo draws the background alone: a different picture.
    Find<QCheckBox>(*window, "ChShowMemo")->setChecked(true);
    Find<QPushButton>(*window, "BtnDraw")->click();
    EXPECT_NE(ReadFile("kabegami.bmp"), bmp);
}

TEST_F(GuiDraw, StartupRunWithReceptionOffDrawsThenCloses)
{
    auto window = MakeWindow({ "/su" });
    Find<gui::RadioGroup>(*window, "RgReceive")->SetItemIndex(1);
    window->show();
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_TRUE(window->IsClosed());
    EXPECT_EQ(desktop_.installed.size(), 1U);
    EXPECT_TRUE(Exists("kabegami.bmp"));
    EXPECT_TRUE(Exists("corkpane.ini"));
}

TEST_F(GuiDraw, AFailedStartupDrawIsSaidOnStandardErrorAndTheRunEnds)
{
    WriteFile("broken.bmp", "BM not really a bitmap");
    desktop_.state.picture = (Folder() / "broken.bmp").string();
    auto window = MakeWindow({ "/su" });
    Find<gui::RadioGroup>(*window, "RgReceive")->SetItemIndex(1);
    testing::internal::CaptureStderr();
    window->show();
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_TRUE(window->IsClosed());
    EXPECT_FALSE(Exists("kabegami.bmp"));
    EXPECT_TRUE(Exists("corkpane.ini"));
    EXPECT_TRUE(desktop_.installed.empty());
}

TEST_F(GuiDraw, ADesktopThatIgnoresTheWallpaperIsSaidNotSilentAndTheStartupRunGoesOn)
{
    desktop_.acceptsWallpaper = false;
    auto window = MakeWindow();
    Find<QPushButton>(*window, "BtnDraw")->click();
    ASSERT_EQ(dialogs_.shown.size(), 1U);
    EXPECT_EQ(dialogs_.shown[0].kind, QStringLiteral("message"));
    EXPECT_TRUE(
        dialogs_.shown[0].text.contains(QString::fromStdString((Folder() / "kabegami.bmp").string())));
    EXPECT_TRUE(Exists("kabegami.bmp"));

    // Unattended: no box to wait on; the run draws, saves and ends. (One
    // window at a time on the files: the first one goes first.)
    window.reset();
    dialogs_.shown.clear();
    auto startup = MakeWindow({ "/su" });
    Find<gui::RadioGroup>(*startup, "RgReceive")->SetItemIndex(1);
    startup->show();
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_TRUE(startup->IsClosed());
}

// The memo is laid out from its text and the settings alone: the window,
// the logon run and the daily redraw (corkpane-tool draw) give the same
// picture from the same files, a line longer than the editor's width
// included.
TEST_F(GuiDraw, TheWindowAndTheToolDrawTheSameFilesAlike)
{
    auto window = MakeWindow();
    window->SetMemoText(
        platform::ToSjis(QStringLiteral("資料を印刷して、会議室の予約を確認する。"
                                        "プロジェクターの電源ケーブルも忘れずに持っていくこと。\r\n牛乳")));
    Find<QPushButton>(*window, "BtnDraw")->click();
    ASSERT_TRUE(dialogs_.shown.empty());
    const std::string fromWindow = ReadFile("kabegami.bmp");
    ASSERT_TRUE(window->close());
    std::filesystem::remove(Folder() / "kabegami.bmp");

    // In a sanitizer build: fontconfig keeps its configuration until exit.
    WriteFile("lsan.supp", "leak:libfontconfig.so\n");
    ::setenv("LSAN_OPTIONS", ("suppressions=" + (Folder() / "lsan.supp").string()).c_str(), 1);
    platform::ProcessRunner runner;
    const platform::CommandResult drawn = runner.Run({ CORKPANE_TOOL_FULL, "draw", "--dir", Folder().string(),
        "--screen", "320x240", "--dpi", "96", "--desktop-color", std::to_string(desktop_.state.colour),
        "--wallpaper", "", "--placement", "zoom", "--today", "2026-12-09" });
    ::unsetenv("LSAN_OPTIONS");
    ASSERT_EQ(0, drawn.exitCode) << drawn.errorOutput;
    EXPECT_TRUE(fromWindow == ReadFile("kabegami.bmp"));
}

} // namespace

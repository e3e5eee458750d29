#include "platform/LinuxDesktop.h"

#include "common/TempFolder.h"
#include "platform/WallpaperMemory.h"

#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace platform;

namespace {

// Plays a desktop's command-line tools: gsettings and xfconf-query keep
// their values in maps, other commands answer from a table; every call is
// recorded.
class FakeRunner : public CommandRunner {
public:
    std::map<std::string, std::string> gsettings; // "schema key" -> GVariant text
    std::map<std::string, std::string> xfconf; // property -> value
    std::map<std::string, CommandResult> answers; // joined argv -> result
    std::vector<std::vector<std::string>> calls;

    CommandResult Run(const std::vector<std::string>& argv) override
    {
        calls.push_back(argv);
        if (argv.size() == 4 && argv[0] == "gsettings" && argv[1] == "get") {
            const auto it = gsettings.find(argv[2] + " " + argv[3]);
            return it == gsettings.end() ? CommandResult { 1, "" } : CommandResult { 0, it->second + "\n" };
        }
        if (argv.size() == 5 && argv[0] == "gsettings" && argv[1] == "set") {
            gsettings[argv[2] + " " + argv[3]] = argv[4];
            return { 0, "" };
        }
        if (!argv.empty() && argv[0] == "xfconf-query") {
            if (argv.size() == 4 && argv[3] == "-l") {
                std::string list;
                for (const auto& [p, v] : xfconf)
                    list += p + "\n";
                return { 0, list };
            }
            if (argv.size() == 5)
                return xfconf.count(argv[4]) ? CommandResult { 0, xfconf[argv[4]] + "\n" }
                                             : CommandResult { 1, "" };
            if (argv.size() == 7) {
                xfconf[argv[4]] = argv[6];
                return { 0, "" };
            }
        }
        std::string joined;
        for (const auto& a : argv)
            joined += (joined.empty() ? "" : " ") + a;
        const auto it = answers.find(joined);
        return it == answers.end() ? CommandResult { 127, "" } : it->second;
    }

    bool Called(const std::vector<std::string>& argv) const
    {
        return std::find(calls.begin(), calls.end(), argv) != calls.end();
    }
};

class LinuxDesktopTest : public ::testing::Test {
protected:
    void SetUp() override { WriteBmp(home_ + "/drawn.bmp"); }

    LinuxDesktop::Environment Env(const std::string& desktop)
    {
        return [this, desktop](const std::string& name) -> std::string {
            if (name == "HOME")
                return home_;
            if (name == "XDG_CURRENT_DESKTOP")
                return desktop;
            return {};
        };
    }
    static void WriteBmp(const std::string& path)
    {
        QImage image(8, 4, QImage::Format_RGB888);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    }
    std::vector<std::string> Copies() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(home_ + "/.cache/corkpane"))
            names.push_back(e.path().filename().string());
        return names;
    }

    test_files::TempFolder temp_ { "platform" };
    std::string home_ = temp_.Path().string();
    FakeRunner runner_;
};

} // namespace

TEST_F(LinuxDesktopTest, DetectsTheDesktopFromTheSession)
{
    const struct {
        const char* current;
        LinuxDesktop::Kind kind;
    } cases[] = { { "GNOME", LinuxDesktop::Kind::Gnome }, { "ubuntu:GNOME", LinuxDesktop::Kind::Gnome },
        { "X-Cinnamon", LinuxDesktop::Kind::Cinnamon }, { "MATE", LinuxDesktop::Kind::Mate },
        { "KDE", LinuxDesktop::Kind::Kde }, { "XFCE", LinuxDesktop::Kind::Xfce },
        { "sway", LinuxDesktop::Kind::Sway }, { "", LinuxDesktop::Kind::Unknown } };
    for (const auto& c : cases)
        EXPECT_EQ(c.kind, LinuxDesktop::DetectKind(Env(c.current))) << c.current;
    const auto x11 = [](const std::string& n) { return n == "DISPLAY" ? std::string(":0") : std::string(); };
    EXPECT_EQ(LinuxDesktop::Kind::X11, LinuxDesktop::DetectKind(x11));
}

TEST_F(LinuxDesktopTest, GnomeFamilyPlacementMapsOntoTileAndStyle)
{
    const struct {
        const char* options;
        const char* tile;
        const char* style;
        bool picture;
    } cases[] = { { "'wallpaper'", "1", "0", true }, { "'centered'", "0", "0", true },
        { "'stretched'", "0", "2", true }, { "'scaled'", "0", "2", true }, { "'zoom'", "0", "2", true },
        { "'spanned'", "0", "2", true }, { "'none'", "0", "0", false } };
    for (const char* desktop : { "GNOME", "X-Cinnamon" }) {
        const std::string schema = std::string(desktop) == "GNOME" ? "org.gnome.desktop.background"
                                                                   : "org.cinnamon.desktop.background";
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(desktop) + " " + c.options);
            runner_.gsettings[schema + " picture-uri"] = "'file:///home/u/My%20Pictures/sea.jpg'";
            runner_.gsettings[schema + " picture-options"] = c.options;
            LinuxDesktop linux(runner_, Env(desktop));
            const WallpaperSettings s = linux.ReadWallpaperSettings();
            EXPECT_EQ(c.picture ? "/home/u/My Pictures/sea.jpg" : "", s.wallpaper);
            EXPECT_EQ(c.tile, s.tileWallpaper);
            EXPECT_EQ(c.style, s.wallpaperStyle);
        }
    }
    // In the dark style GNOME shows its dark picture.
    runner_.gsettings["org.gnome.desktop.background picture-uri"] = "'file:///light.jpg'";
    runner_.gsettings["org.gnome.desktop.background picture-uri-dark"] = "'file:///dark.jpg'";
    runner_.gsettings["org.gnome.desktop.background picture-options"] = "'zoom'";
    runner_.gsettings["org.gnome.desktop.interface color-scheme"] = "'prefer-dark'";
    EXPECT_EQ("/dark.jpg", LinuxDesktop(runner_, Env("GNOME")).ReadWallpaperSettings().wallpaper);

    runner_.gsettings["org.mate.background picture-filename"] = "'/usr/share/backgrounds/a.bmp'";
    runner_.gsettings["org.mate.background picture-options"] = "'wallpaper'";
    runner_.gsettings["org.mate.background primary-color"] = "'#102030'";
    LinuxDesktop mate(runner_, Env("MATE"));
    EXPECT_EQ((WallpaperSettings { "/usr/share/backgrounds/a.bmp", "1", "0" }), mate.ReadWallpaperSettings());
    EXPECT_EQ(0x00302010u, mate.DesktopColor());
}

TEST_F(LinuxDesktopTest, KdeXfceAndFehSettingsAreRead)
{
    temp_.Write(".config/plasma-org.kde.plasma.desktop-appletsrc",
        "[Containments][1][General]\nImage=file:///wrong.jpg\n"
        "[Containments][1][Wallpaper][org.kde.image][General]\nFillMode=6\nImage=file:///pics/kde.jpg\n");
    LinuxDesktop kde(runner_, Env("KDE"));
    EXPECT_EQ((WallpaperSettings { "/pics/kde.jpg", "0", "0" }), kde.ReadWallpaperSettings());

    runner_.xfconf["/backdrop/screen0/monitorHDMI-1/workspace0/last-image"] = "/pics/xfce.bmp";
    runner_.xfconf["/backdrop/screen0/monitorHDMI-1/workspace0/image-style"] = "2";
    runner_.xfconf["/backdrop/screen0/monitorHDMI-1/workspace1/last-image"] = "/pics/other.bmp";
    LinuxDesktop xfce(runner_, Env("XFCE"));
    EXPECT_EQ((WallpaperSettings { "/pics/xfce.bmp", "1", "0" }), xfce.ReadWallpaperSettings());

    temp_.Write(".fehbg", "#!/bin/sh\nfeh --no-fehbg --bg-center '/pics/feh.jpg'\n");
    const auto x11 = [this](const std::string& n) {
        return n == "DISPLAY" ? std::string(":0") : n == "HOME" ? home_ : std::string();
    };
    LinuxDesktop feh(runner_, x11);
    EXPECT_EQ((WallpaperSettings { "/pics/feh.jpg", "0", "0" }), feh.ReadWallpaperSettings());
}

TEST_F(LinuxDesktopTest, InstallsANewPngCopyAndKeepsDrawingFromTheUsersPicture)
{
    const std::string schema = "org.gnome.desktop.background";
    runner_.gsettings[schema + " picture-uri"] = "'file:///pics/mine.jpg'";
    runner_.gsettings[schema + " picture-options"] = "'centered'";
    LinuxDesktop linux(runner_, Env("GNOME"));
    ASSERT_TRUE(linux.InstallWallpaper(home_ + "/drawn.bmp"));
    const std::vector<std::string> first = Copies();
    ASSERT_EQ(1u, first.size());
    const std::string copy = home_ + "/.cache/corkpane/" + first[0];
    const std::string uri = "'file://" + copy + "'";
    EXPECT_EQ(uri, runner_.gsettings[schema + " picture-uri"]);
    EXPECT_EQ(uri, runner_.gsettings[schema + " picture-uri-dark"]);
    QImage png;
    ASSERT_TRUE(png.load(QString::fromStdString(copy), "PNG"));
    EXPECT_EQ(8, png.width());

    // The desktop now names our copy; the draw still starts from the user's.
    EXPECT_EQ((WallpaperSettings { "/pics/mine.jpg", "0", "0" }), linux.ReadWallpaperSettings());
    ASSERT_TRUE(linux.InstallWallpaper(home_ + "/drawn.bmp"));
    const std::vector<std::string> second = Copies();
    ASSERT_EQ(1u, second.size()); // the earlier copy is gone
    EXPECT_NE(first[0], second[0]);

    // The user picks another picture: that one is remembered from now on.
    runner_.gsettings[schema + " picture-uri"] = "'file:///pics/new.bmp'";
    runner_.gsettings[schema + " picture-options"] = "'wallpaper'";
    EXPECT_EQ((WallpaperSettings { "/pics/new.bmp", "1", "0" }), linux.ReadWallpaperSettings());
    EXPECT_EQ((WallpaperSettings { "/pics/new.bmp", "1", "0" }), WallpaperMemory(linux.MemoryPath()).Load());
}

TEST_F(LinuxDesktopTest, ARunThatCannotReadTheDesktopKeepsTheRememberedPicture)
{
    const std::string schema = "org.gnome.desktop.background";
    runner_.gsettings[schema + " picture-uri"] = "'file:///pics/mine.jpg'";
    runner_.gsettings[schema + " picture-options"] = "'zoom'";
    const WallpaperSettings mine { "/pics/mine.jpg", "0", "2" };
    {
        LinuxDesktop linux(runner_, Env("GNOME"));
        EXPECT_EQ(mine, linux.ReadWallpaperSettings());
    }
    // Each of these reads no picture: the desktop is unknown (no display),
    // its tool is gone, or it answers with an empty value. Only a desktop
    // that was read is drawn as it says.
    const struct {
        const char* desktop;
        bool clearGsettings;
        const char* uri;
        bool drawsRemembered;
    } unreadable[] = { { "", false, nullptr, true }, { "GNOME", true, nullptr, true },
        { "GNOME", false, "''", false }, { "sway", false, nullptr, true }, { "XFCE", false, nullptr, true } };
    for (const auto& c : unreadable) {
        SCOPED_TRACE(std::string(c.desktop) + (c.uri ? c.uri : ""));
        const auto saved = runner_.gsettings;
        if (c.clearGsettings)
            runner_.gsettings.clear();
        if (c.uri)
            runner_.gsettings[schema + " picture-uri"] = c.uri;
        LinuxDesktop linux(runner_, Env(c.desktop));
        const WallpaperSettings drawn = linux.ReadWallpaperSettings();
        EXPECT_EQ(c.drawsRemembered ? mine : (WallpaperSettings { "", "0", "2" }), drawn);
        EXPECT_EQ(mine, WallpaperMemory(linux.MemoryPath()).Load());
        runner_.gsettings = saved;
    }
}

TEST_F(LinuxDesktopTest, ScreenSizeComesFromTheWindowSystemAndAGuessIsAnnounced)
{
    const struct {
        std::optional<ScreenSize> probe;
        std::map<std::string, CommandResult> answers;
        int width, height;
        bool warned;
    } cases[] = {
        // The window system's own answer wins over the tools.
        { ScreenSize { 2880, 1800 }, { { "xrandr --current", { 0, "X connected primary 1920x1080+0+0\n" } } },
            2880, 1800, false },
        { std::nullopt, { { "xrandr --current", { 0, "X connected primary 1920x1080+0+0\n" } } }, 1920, 1080,
            false },
        // An X server without RandR.
        { std::nullopt,
            { { "xrandr --current", { 1, "" } },
                { "xdpyinfo",
                    { 0, "screen #0:\n  dimensions:    1280x1024 pixels (338x270 millimeters)\n" } } },
            1280, 1024, false },
        { std::nullopt,
            { { "swaymsg -t get_outputs -r",
                { 0, R"({"current_mode": {"width": 3840, "height": 2160}})" } } },
            3840, 2160, false },
        // Nothing to ask: the fallback, said on standard error.
        { std::nullopt, {}, 1920, 1080, true },
    };
    for (const auto& c : cases) {
        runner_.answers = c.answers;
        LinuxDesktop linux(runner_, Env("GNOME"));
        linux.SetScreenProbe([&c] { return c.probe; });
        std::string warning;
        linux.SetWarning([&warning](const std::string& line) { warning += line; });
        const ScreenSize size = linux.PrimaryScreenSize();
        EXPECT_EQ(c.width, size.width);
        EXPECT_EQ(c.height, size.height);
        EXPECT_EQ(c.warned, warning.find("1920x1080") != std::string::npos) << warning;
    }
    // Without a GUI application Qt has no screen to report.
    EXPECT_FALSE(LinuxDesktop::QtPrimaryScreen().has_value());
}

TEST_F(LinuxDesktopTest, EveryDesktopIsToldThroughItsOwnTool)
{
    runner_.xfconf["/backdrop/screen0/monitor0/workspace0/last-image"] = "/a.jpg";
    runner_.xfconf["/backdrop/screen0/monitor1/workspace0/last-image"] = "/b.jpg";
    // "@" stands for the installed copy's path; commands the fake does not
    // know (KDE's, sway's) fail, and the failure is reported.
    const struct {
        const char* desktop;
        std::vector<std::string> command;
        bool ok;
    } cases[] = {
        { "MATE", { "gsettings", "set", "org.mate.background", "picture-filename", "'@'" }, true },
        { "X-Cinnamon",
            { "gsettings", "set", "org.cinnamon.desktop.background", "picture-uri", "'file://@'" }, true },
        { "KDE", { "plasma-apply-wallpaperimage", "@" }, false },
        { "XFCE",
            { "xfconf-query", "-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitor1/workspace0/last-image",
                "-s", "@" },
            true },
        { "sway", { "swaymsg", "output", "*", "bg", "@", "stretch" }, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktop);
        LinuxDesktop linux(runner_, Env(c.desktop));
        EXPECT_EQ(c.ok, linux.InstallWallpaper(home_ + "/drawn.bmp"));
        std::vector<std::string> expected = c.command;
        for (std::string& arg : expected)
            if (const auto at = arg.find('@'); at != std::string::npos)
                arg.replace(at, 1, home_ + "/.cache/corkpane/" + Copies().at(0));
        EXPECT_TRUE(runner_.Called(expected));
    }
}

TEST_F(LinuxDesktopTest, WithoutAHomeFolderNothingIsWrittenAndInstallingFails)
{
    runner_.gsettings["org.gnome.desktop.background picture-uri"] = "'file:///pics/a.jpg'";
    const auto noHome = [](const std::string& n) {
        return n == "XDG_CURRENT_DESKTOP" ? std::string("GNOME") : std::string();
    };
    LinuxDesktop linux(runner_, noHome, [] { return std::string(); });
    EXPECT_EQ("/pics/a.jpg", linux.ReadWallpaperSettings().wallpaper);
    EXPECT_FALSE(linux.InstallWallpaper(home_ + "/drawn.bmp"));
    EXPECT_EQ("'file:///pics/a.jpg'", runner_.gsettings["org.gnome.desktop.background picture-uri"]);
}

TEST(LinuxDesktopParsing, ScreenColourAndUriHelpers)
{
    EXPECT_EQ(2560,
        LinuxDesktop::ScreenFromXrandr("Screen 0: minimum 8 x 8, current 4480 x 1440, maximum 32767\n"
                                       "HDMI-1 connected 1920x1080+0+0 (normal) 527mm x 296mm\n"
                                       "DP-1 connected primary 2560x1440+1920+0 (normal)\n")
            .width);
    EXPECT_EQ(1080, LinuxDesktop::ScreenFromXrandr("HDMI-1 connected 1920x1080+0+0 (normal)\n").height);
    EXPECT_EQ(
        800, LinuxDesktop::ScreenFromXrandr("Screen 0: minimum 8 x 8, current 800 x 600, maximum 1\n").width);
    EXPECT_EQ(0, LinuxDesktop::ScreenFromXrandr("garbage").width);

    const struct {
        const char* text;
        std::uint32_t want;
    } colours[] = { { "'#FF8000'", 0x000080FF }, { "'#ffff80800000'", 0x000080FF },
        { "'rgb(1,2,3)'", 0x00030201 }, { "'blue'", 0xDEADu }, { "", 0xDEADu } };
    for (const auto& c : colours)
        EXPECT_EQ(c.want, LinuxDesktop::ColorFromText(c.text, 0xDEAD)) << c.text;

    EXPECT_EQ("file:///a%20b/%E5%86%99.jpg", LinuxDesktop::PathToFileUri("/a b/\xE5\x86\x99.jpg"));
    EXPECT_EQ("/a b/\xE5\x86\x99.jpg", LinuxDesktop::FileUriToPath("file:///a%20b/%E5%86%99.jpg"));
    EXPECT_EQ("", LinuxDesktop::FileUriToPath("https://example.org/x.jpg"));
    EXPECT_EQ("it's", LinuxDesktop::UnquoteGVariant(LinuxDesktop::QuoteGVariant("it's")));
}

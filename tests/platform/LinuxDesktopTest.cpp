#include "platform/LinuxDesktop.h"

#include "common/SjisLiteral.h"
#include "common/TempFolder.h"
#include "platform/WallpaperMemory.h"

#include <QImage>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <unistd.h>

using namespace platform;

namespace {

// Plays a desktop's command-line tools: gsettings and xfconf-query keep
// their values in maps, other commands answer from a table; every call is
// recorded.
class FakeRunner : public CommandRunner {
public:
    std::map<std::string, std::string> gsettings; // "schema key" -> GVariant text
    std::map<std::string, std::string> xfconf; // property -> value
    std::map<std::string, CommandResult> answers; // joined argv, or the program alone -> result
    bool ignoresSettings = false; // gsettings set answers success and keeps nothing
    std::vector<std::vector<std::string>> calls;

    // Answers first where it gives a result: a desktop that acts on what it
    // is told.
    std::function<std::optional<CommandResult>(const std::vector<std::string>&)> handler;

    CommandResult Run(const std::vector<std::string>& argv) override
    {
        calls.push_back(argv);
        if (handler)
            if (std::optional<CommandResult> result = handler(argv))
                return *result;
        if (argv.size() == 4 && argv[0] == "gsettings" && argv[1] == "get") {
            const auto it = gsettings.find(argv[2] + " " + argv[3]);
            return it == gsettings.end() ? CommandResult { 1, "" } : CommandResult { 0, it->second + "\n" };
        }
        if (argv.size() == 5 && argv[0] == "gsettings" && argv[1] == "set") {
            if (!ignoresSettings)
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
            if (argv.size() == 7 || (argv.size() == 10 && argv[5] == "-n")) {
                xfconf[argv[4]] = argv.back();
                return { 0, "" };
            }
        }
        std::string joined;
        for (const auto& a : argv)
            joined += (joined.empty() ? "" : " ") + a;
        auto it = answers.find(joined);
        if (it == answers.end())
            it = answers.find(argv[0]); // every call of that program
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

    LinuxDesktop::Environment Env(const std::string& desktop, std::map<std::string, std::string> more = {})
    {
        return [this, desktop, more](const std::string& name) -> std::string {
            if (name == "HOME")
                return home_;
            if (name == "XDG_CURRENT_DESKTOP")
                return desktop;
            const auto it = more.find(name);
            return it == more.end() ? std::string() : it->second;
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
    ASSERT_TRUE(linux.InstallWallpaper(home_ + "/drawn.bmp", false));
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
    ASSERT_TRUE(linux.InstallWallpaper(home_ + "/drawn.bmp", false));
    const std::vector<std::string> second = Copies();
    ASSERT_EQ(1u, second.size()); // the earlier copy is gone
    EXPECT_NE(first[0], second[0]);
    // A desktop that does not take the next one keeps showing its copy.
    runner_.ignoresSettings = true;
    EXPECT_FALSE(linux.InstallWallpaper(home_ + "/drawn.bmp", false));
    EXPECT_TRUE(std::filesystem::exists(home_ + "/.cache/corkpane/" + second[0]));
    runner_.ignoresSettings = false;

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
    const Monitor retina { { 0, 0, 2880, 1800 }, { 0, 0, 2880, 1800 }, 2.0, true };
    const struct {
        std::vector<Monitor> probe;
        std::map<std::string, CommandResult> answers;
        int width, height;
        bool warned;
    } cases[] = {
        // The window system's own answer wins over the tools.
        { { retina }, { { "xrandr --current", { 0, "X connected primary 1920x1080+0+0\n" } } }, 2880, 1800,
            false },
        { {}, { { "xrandr --current", { 0, "X connected primary 1920x1080+0+0\n" } } }, 1920, 1080, false },
        // An X server without RandR.
        { {},
            { { "xrandr --current", { 1, "" } },
                { "xdpyinfo",
                    { 0, "screen #0:\n  dimensions:    1280x1024 pixels (338x270 millimeters)\n" } } },
            1280, 1024, false },
        { {},
            { { "swaymsg -t get_outputs -r",
                { 0,
                    R"([{"name": "DP-1", "active": true, "scale": 2.0,)"
                    R"( "rect": {"x": 0, "y": 0, "width": 1920, "height": 1080},)"
                    R"( "current_mode": {"width": 3840, "height": 2160}}])" } } },
            3840, 2160, false },
        // Nothing to ask: the fallback, said on standard error.
        { {}, {}, 1920, 1080, true },
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
    EXPECT_TRUE(LinuxDesktop::QtScreens().empty());
}

TEST_F(LinuxDesktopTest, EveryDesktopIsToldThroughItsOwnToolAndReadBack)
{
    runner_.xfconf["/backdrop/screen0/monitor0/workspace0/last-image"] = "/a.jpg";
    runner_.xfconf["/backdrop/screen0/monitor1/workspace0/last-image"] = "/b.jpg";
    // pcmanfm writes the picture it is given into its settings file, feh
    // into ~/.fehbg.
    runner_.handler = [this](const std::vector<std::string>& argv) -> std::optional<CommandResult> {
        if (argv[0] == "pgrep")
            return CommandResult { 0, "7 pcmanfm --desktop --profile=LXDE\n" };
        if (argv[0] == "pcmanfm")
            temp_.Write(
                ".config/pcmanfm/LXDE/desktop-items-0.conf", "[*]\nwallpaper=" + argv[2].substr(16) + "\n");
        if (argv[0] == "feh")
            temp_.Write(".fehbg", "feh --no-fehbg " + argv[argv.size() - 2] + " '" + argv.back() + "'\n");
        if (argv[0] == "pcmanfm" || argv[0] == "feh")
            return CommandResult { 0, "" };
        return std::nullopt;
    };
    // "@" stands for the installed copy's path, "%" for its URI. The
    // canvas is shown one to one (zoomed) on the primary monitor, or laid
    // over all monitors where the desktop can span. (KDE, LXQt and sway are
    // told and read back against their own components.)
    const struct {
        const char* desktop;
        bool spanned;
        std::vector<std::vector<std::string>> commands;
    } cases[] = {
        { "MATE", false,
            { { "gsettings", "set", "org.mate.background", "picture-filename", "'@'" },
                { "gsettings", "set", "org.mate.background", "picture-options", "'zoom'" } } },
        { "X-Cinnamon", true,
            { { "gsettings", "set", "org.cinnamon.desktop.background", "picture-uri", "'%'" },
                { "gsettings", "set", "org.cinnamon.desktop.background", "picture-options", "'spanned'" } } },
        { "XFCE", true,
            { { "xfconf-query", "-c", "xfce4-desktop", "-p",
                  "/backdrop/screen0/monitor1/workspace0/last-image", "-s", "@" },
                { "xfconf-query", "-c", "xfce4-desktop", "-p",
                    "/backdrop/screen0/monitor1/workspace0/image-style", "-n", "-t", "int", "-s", "6" } } },
        { "LXDE", true, { { "pcmanfm", "--profile=LXDE", "--set-wallpaper=@", "--wallpaper-mode=screen" } } },
        { "", true, { { "feh", "--no-xinerama", "--bg-fill", "@" } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktop);
        runner_.calls.clear();
        LinuxDesktop linux(runner_, Env(c.desktop, { { "DISPLAY", ":0" } }));
        linux.SetReadBackTime(0);
        const Installation installed = linux.InstallWallpaper(home_ + "/drawn.bmp", c.spanned);
        EXPECT_TRUE(installed.taken) << installed.problem;
        const std::string copy = home_ + "/.cache/corkpane/" + Copies().at(0);
        for (std::vector<std::string> expected : c.commands) {
            for (std::string& arg : expected) {
                if (const auto at = arg.find('@'); at != std::string::npos)
                    arg.replace(at, 1, copy);
                if (const auto at = arg.find('%'); at != std::string::npos)
                    arg.replace(at, 1, LinuxDesktop::PathToFileUri(copy));
            }
            EXPECT_TRUE(runner_.Called(expected)) << expected[0] << " " << expected.back();
        }
        // The desktop now names the copy, which reads as ours.
        EXPECT_TRUE(linux.IsOurOutput(linux.ReadDesktopSettings().wallpaper));
    }
}

TEST_F(LinuxDesktopTest, ADesktopThatDoesNotTakeThePictureIsNamedWithTheReason)
{
    // (KDE's lock and missing shell, and LXQt's and LXDE's missing desktop
    // process, are played by their own components.)
    const std::string sock = temp_.Write("run/sway-ipc.sock", "").string();
    const auto answering = [](const char* program, CommandResult result) {
        return [program, result](FakeRunner& r) {
            r.handler
                = [program, result](const std::vector<std::string>& argv) -> std::optional<CommandResult> {
                return argv[0] == program ? std::optional<CommandResult>(result) : std::nullopt;
            };
        };
    };
    const struct {
        const char* desktop;
        std::function<void(FakeRunner&)> setup;
        const char* says; // in the message, beside the desktop's name
    } cases[] = {
        // sway accepts, but no swaybg shows the picture.
        { "sway", answering("swaymsg", { 0, "" }), "swaybg" },
        { "MATE", [](FakeRunner& r) { r.ignoresSettings = true; }, "読み返す" },
        { "X-Cinnamon", answering("gsettings", { 127, "" }), "gsettings" }, // not installed
        { "NoSuchDesktop", [](FakeRunner&) {}, "XDG_CURRENT_DESKTOP" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.desktop) + " " + c.says);
        FakeRunner runner;
        runner.gsettings["org.mate.background picture-filename"] = "'/pics/a.jpg'";
        c.setup(runner);
        LinuxDesktop linux(
            runner, Env(c.desktop, { { "SWAYSOCK", c.desktop == std::string("sway") ? sock : "" } }));
        linux.SetReadBackTime(0);
        const Installation installed = linux.InstallWallpaper(home_ + "/drawn.bmp", false);
        EXPECT_FALSE(installed.taken);
        EXPECT_NE(std::string::npos, installed.problem.find(Sjis(c.says))) << installed.problem;
        EXPECT_EQ(0u, installed.problem.find(linux.DesktopName())) << installed.problem;
    }
}

TEST_F(LinuxDesktopTest, EachDesktopsOwnPlacementIsReadAndRememberedWhileOurCopyShows)
{
    // One user picture per desktop, in each desktop's own form and mode.
    const struct {
        const char* desktop;
        std::function<void(FakeRunner&, test_files::TempFolder&)> setup;
        std::optional<Placement> placement;
        WallpaperSettings settings;
    } cases[] = {
        { "XFCE",
            [](FakeRunner& r, test_files::TempFolder&) {
                r.xfconf["/backdrop/screen0/monitor0/workspace0/last-image"] = "/p.jpg";
                r.xfconf["/backdrop/screen0/monitor0/workspace0/image-style"] = "4";
            },
            Placement::Scaled, { "/p.jpg", "0", "2" } },
        { "XFCE",
            [](FakeRunner& r, test_files::TempFolder&) {
                r.xfconf["/backdrop/screen0/monitor0/workspace0/last-image"] = "/p.jpg";
                r.xfconf["/backdrop/screen0/monitor0/workspace0/image-style"] = "6";
            },
            Placement::Spanned, { "/p.jpg", "0", "2" } },
        { "KDE",
            [](FakeRunner&, test_files::TempFolder& t) {
                t.Write(".config/plasma-org.kde.plasma.desktop-appletsrc",
                    "[Containments][7]\nlastScreen=1\n[Containments][7][Wallpaper][org.kde.image][General]\n"
                    "Image=/other.png\n[Containments][9]\nlastScreen=0\n"
                    "[Containments][9][Wallpaper][org.kde.image][General]\nFillMode=1\nImage=file:///"
                    "p.png\n");
            },
            Placement::Scaled, { "/p.png", "0", "2" } },
        // The running shell's answer wins over its file; no FillMode is
        // Plasma's default, zoom.
        { "KDE",
            [](FakeRunner& r, test_files::TempFolder&) {
                r.handler = [](const std::vector<std::string>& argv) -> std::optional<CommandResult> {
                    if (argv[0] == "dbus-send")
                        return CommandResult { 0,
                            "method return\n   string \"org.kde.image\tfile:///s.jpg\t2\n\"\n" };
                    return std::nullopt;
                };
            },
            Placement::Zoom, { "/s.jpg", "0", "2" } },
        { "LXQt",
            [](FakeRunner& r, test_files::TempFolder& t) {
                r.answers["pgrep"] = { 1, "" };
                t.Write(".config/pcmanfm-qt/lxqt/settings.conf",
                    "[Behavior]\nWallpaper=/no.jpg\n[Desktop]\nBgColor=#000000\n"
                    "Wallpaper=\"/home/u/\\x5199\\x771f/a b.jpg\"\nWallpaperMode=center\n");
            },
            Placement::Centered, { "/home/u/\xE5\x86\x99\xE7\x9C\x9F/a b.jpg", "0", "0" } },
        { "LXDE",
            [](FakeRunner& r, test_files::TempFolder& t) {
                r.answers["pgrep -a -u " + std::to_string(::getuid())
                    + " -f (^|/)pcmanfm( .*)? --desktop( |$)"]
                    = { 0, "5 pcmanfm --desktop --profile LXDE\n" };
                t.Write(".config/pcmanfm/LXDE/desktop-items-0.conf",
                    "[*]\nwallpaper_mode=tile\nwallpaper=/p.jpg\n");
            },
            Placement::Wallpaper, { "/p.jpg", "1", "0" } },
        { "sway",
            [](FakeRunner& r, test_files::TempFolder&) {
                r.answers["pgrep -a -u " + std::to_string(::getuid()) + " -x swaybg"] = { 0,
                    "40 swaybg -o HDMI-A-1 -i /q.png -m tile -o DP-1 -i /my pics/p.png -m fit -c #000000\n" };
                r.answers["swaymsg -t get_outputs -r"]
                    = { 0, R"([{"name": "DP-1", "rect": {"width": 10}}])" };
            },
            Placement::Scaled, { "/my pics/p.png", "0", "2" } },
        { "",
            [](FakeRunner&, test_files::TempFolder& t) {
                t.Write(".fehbg", "#!/bin/sh\nfeh --no-fehbg --no-xinerama --bg-fill '/p.jpg'\n");
            },
            Placement::Spanned, { "/p.jpg", "0", "2" } },
        { "",
            [](FakeRunner&, test_files::TempFolder& t) {
                t.Write(".fehbg", "feh --no-fehbg --bg-max '/p.jpg'\n");
            },
            Placement::Scaled, { "/p.jpg", "0", "2" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.desktop) + " " + c.settings.wallpaper);
        test_files::TempFolder home("desktop");
        home_ = home.Path().string();
        FakeRunner runner;
        c.setup(runner, home);
        LinuxDesktop linux(runner, Env(c.desktop, { { "DISPLAY", ":0" } }));
        EXPECT_EQ(c.settings, linux.ReadWallpaperSettings());
        EXPECT_EQ(c.placement, linux.WallpaperPlacement());
    }
    // While our copy shows (zoomed), the user's own placement is drawn.
    home_ = temp_.Path().string();
    WriteBmp(home_ + "/drawn.bmp");
    runner_.gsettings["org.gnome.desktop.background picture-uri"] = "'file:///pics/mine.jpg'";
    runner_.gsettings["org.gnome.desktop.background picture-options"] = "'scaled'";
    LinuxDesktop gnome(runner_, Env("GNOME"));
    ASSERT_TRUE(gnome.InstallWallpaper(home_ + "/drawn.bmp", false));
    EXPECT_EQ("'zoom'", runner_.gsettings["org.gnome.desktop.background picture-options"]);
    LinuxDesktop next(runner_, Env("GNOME"));
    EXPECT_EQ((WallpaperSettings { "/pics/mine.jpg", "0", "2" }), next.ReadWallpaperSettings());
    EXPECT_EQ(Placement::Scaled, next.WallpaperPlacement());
}

TEST_F(LinuxDesktopTest, MonitorsScalesAndWorkAreasComeFromTheWindowSystem)
{
    const std::string twoMonitors = "Monitors: 2\n 0: +DP-1 1920/531x1080/299+0+0  DP-1\n"
                                    " 1: +*HDMI-1 2560/600x1440/340+1920+0  HDMI-1\n";
    const std::string root = "_NET_CLIENT_LIST(WINDOW): window id # 0x1a00003, 0x1c00004\n"
                             "_NET_WORKAREA(CARDINAL) = 0, 30, 4480, 1410\n";
    const std::string sway
        = R"([{"name": "eDP-1", "active": true, "scale": 1.5, "primary": false,)"
          R"( "rect": {"x": 0, "y": 0, "width": 1280, "height": 800}},)"
          R"( {"name": "DP-2", "active": false, "rect": {"x": 0, "y": 0, "width": 0, "height": 0}}])";
    const struct {
        const char* name;
        std::map<std::string, std::string> env;
        std::map<std::string, CommandResult> answers;
        std::vector<Monitor> want;
    } cases[] = {
        // X11: RandR monitors, Xft.dpi 144 (150 %); the window manager's one
        // work area.
        { "X11 work area", { { "DISPLAY", ":0" } },
            { { "xrandr --listmonitors", { 0, twoMonitors } }, { "xrdb -query", { 0, "Xft.dpi:\t144\n" } },
                { "xprop -root _NET_CLIENT_LIST _NET_WORKAREA",
                    { 0, "_NET_WORKAREA(CARDINAL) = 0, 30, 4480, 1410\n" } } },
            { { { 0, 0, 1920, 1080 }, { 0, 30, 1920, 1050 }, 1.5, false },
                { { 1920, 0, 2560, 1440 }, { 1920, 30, 2560, 1410 }, 1.5, true } } },
        // Panels' struts cover only their own monitor: a top panel on the
        // right one, a left panel on the left one.
        { "X11 struts", { { "DISPLAY", ":0" } },
            { { "xrandr --listmonitors", { 0, twoMonitors } },
                { "xprop -root _NET_CLIENT_LIST _NET_WORKAREA", { 0, root } },
                { "xprop -id 0x1a00003 _NET_WM_STRUT_PARTIAL _NET_WM_STRUT",
                    { 0, "_NET_WM_STRUT_PARTIAL(CARDINAL) = 0, 0, 30, 0, 0, 0, 0, 0, 1920, 4479, 0, 0\n" } },
                { "xprop -id 0x1c00004 _NET_WM_STRUT_PARTIAL _NET_WM_STRUT",
                    { 0, "_NET_WM_STRUT(CARDINAL) = 48, 0, 0, 0\n" } } },
            { { { 0, 0, 1920, 1080 }, { 48, 0, 1872, 1080 }, 1.0, false },
                { { 1920, 0, 2560, 1440 }, { 1920, 30, 2560, 1410 }, 1.0, true } } },
        // sway: logical rectangles at the output's scale; no primary, so the
        // first output; the workspace is what the bar leaves.
        { "sway", { { "SWAYSOCK", "/run/sway.sock" } },
            { { "swaymsg -t get_outputs -r", { 0, sway } },
                { "swaymsg -t get_workspaces -r",
                    { 0,
                        R"([{"output": "eDP-1", "visible": true, "rect": {"x": 0, "y": 20, "width": 1280, "height": 780}}])" } } },
            { { { 0, 0, 1920, 1200 }, { 0, 30, 1920, 1170 }, 1.5, true } } },
        // GNOME on Wayland says nothing of its top bar: 32 pixels at 200 %.
        { "GNOME Wayland", { { "WAYLAND_DISPLAY", "wayland-0" } },
            { { "xrandr --current", { 0, "XWAYLAND0 connected 3840x2160+0+0 (normal)\n" } },
                { "xrdb -query", { 0, "Xft.dpi:\t192\n" } } },
            { { { 0, 0, 3840, 2160 }, { 0, 64, 3840, 2096 }, 2.0, true } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRunner runner;
        runner.answers = c.answers;
        LinuxDesktop linux(runner, Env(c.name == std::string("GNOME Wayland") ? "GNOME" : "", c.env));
        linux.SetScreenProbe([] { return std::vector<Monitor>(); });
        EXPECT_EQ(c.want, linux.Monitors());
        const auto primary
            = std::find_if(c.want.begin(), c.want.end(), [](const Monitor& m) { return m.primary; });
        EXPECT_EQ(primary->geometry.width, linux.PrimaryScreenSize().width);
        EXPECT_EQ(96, linux.PixelsPerInch());
    }
}

TEST(ProcessRunner, CapturesBothOutputsAndEndsAProcessThatRunsTooLong)
{
    const auto started = std::chrono::steady_clock::now();
    ProcessRunner quick(std::chrono::milliseconds(300));
    const CommandResult both = quick.Run({ "sh", "-c", "echo out; echo err >&2; exit 3" });
    EXPECT_EQ(3, both.exitCode);
    EXPECT_EQ("out\n", both.output);
    EXPECT_EQ("err\n", both.errorOutput);
    // Still writing, and running without any output left open.
    for (const char* script : { "while :; do sleep 1; done", "exec >&- 2>&-; sleep 30" })
        EXPECT_EQ(124, quick.Run({ "sh", "-c", script }).exitCode) << script;
    EXPECT_EQ(127, quick.Run({ "no-such-program-here" }).exitCode);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

TEST_F(LinuxDesktopTest, WithoutAHomeFolderNothingIsWrittenAndInstallingFails)
{
    runner_.gsettings["org.gnome.desktop.background picture-uri"] = "'file:///pics/a.jpg'";
    const auto noHome = [](const std::string& n) {
        return n == "XDG_CURRENT_DESKTOP" ? std::string("GNOME") : std::string();
    };
    LinuxDesktop linux(runner_, noHome, [] { return std::string(); });
    EXPECT_EQ("/pics/a.jpg", linux.ReadWallpaperSettings().wallpaper);
    EXPECT_FALSE(linux.InstallWallpaper(home_ + "/drawn.bmp", false));
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

#include "platform/LinuxDesktop.h"

#include "common/SjisLiteral.h"
#include "common/TempFolder.h"
#include "platform/WallpaperMemory.h"
#include "platform/desktops/DesktopText.h"

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
    void SetUp() override
    {
        // A feh that is installed, for the sessions feh draws.
        temp_.Write("bin/feh", "#!/bin/sh\n");
        std::filesystem::permissions(temp_.Path() / "bin/feh", std::filesystem::perms::owner_all);
    }

    EnvironmentLookup Env(const std::string& desktop, std::map<std::string, std::string> more = {})
    {
        return [this, desktop, more](const std::string& name) -> std::string {
            if (name == "HOME")
                return home_;
            if (name == "XDG_CURRENT_DESKTOP")
                return desktop;
            if (name == "PATH")
                return temp_.Path().string() + "/bin";
            const auto it = more.find(name);
            return it == more.end() ? std::string() : it->second;
        };
    }
    // A drawn wallpaper of 8 x 4 red pixels, in memory.
    DrawnWallpaper Drawn(bool spanned = false)
    {
        return { temp_.Path() / "kabegami.bmp", pixels_.data(), 8, 4, 24, spanned };
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
    std::vector<std::uint8_t> pixels_ = [] {
        std::vector<std::uint8_t> red(24 * 4, 0);
        for (std::size_t i = 2; i < red.size(); i += 3)
            red[i] = 0xFF;
        return red;
    }();
};

} // namespace

TEST_F(LinuxDesktopTest, DetectsTheDesktopFromTheSession)
{
    using Id = DesktopKind::Id;
    const struct {
        const char* current;
        std::optional<Id> kind;
    } cases[] = { { "GNOME", Id::Gnome }, { "ubuntu:GNOME", Id::Gnome }, { "X-Cinnamon", Id::Cinnamon },
        { "MATE", Id::Mate }, { "KDE", Id::Kde }, { "XFCE", Id::Xfce }, { "sway", Id::Sway },
        { "", std::nullopt } };
    for (const auto& c : cases)
        EXPECT_EQ(c.kind, LinuxDesktop(runner_, Env(c.current)).Kind()) << c.current;
    // An X display alone is feh's only where feh draws the background: it
    // is installed and has recorded a picture. Otherwise the session is
    // named in the message, with the desktops that are supported.
    LinuxDesktop bare(runner_, Env("i3", { { "DISPLAY", ":0" } }));
    EXPECT_EQ(std::nullopt, bare.Kind());
    const Installation refused = bare.Install(Drawn());
    EXPECT_FALSE(refused.taken);
    EXPECT_NE(std::string::npos, refused.problem.find(Sjis("「i3」"))) << refused.problem;
    EXPECT_NE(std::string::npos, refused.problem.find("KDE Plasma")) << refused.problem;
    EXPECT_TRUE(runner_.calls.empty());
    temp_.Write(".fehbg", "feh --no-fehbg --bg-fill '/p.jpg'\n");
    EXPECT_EQ(Id::X11, LinuxDesktop(runner_, Env("i3", { { "DISPLAY", ":0" } })).Kind());
    std::filesystem::remove(temp_.Path() / "bin/feh");
    EXPECT_EQ(std::nullopt, LinuxDesktop(runner_, Env("i3", { { "DISPLAY", ":0" } })).Kind());
}

TEST_F(LinuxDesktopTest, GnomeFamilyReadsItsPictureAndPlacement)
{
    const struct {
        const char* options;
        Placement placement;
    } cases[] = { { "'wallpaper'", Placement::Wallpaper }, { "'centered'", Placement::Centered },
        { "'stretched'", Placement::Stretched }, { "'scaled'", Placement::Scaled },
        { "'zoom'", Placement::Zoom }, { "'spanned'", Placement::Spanned }, { "'none'", Placement::None },
        { "'something-new'", Placement::ClassicStretched } };
    for (const char* desktop : { "GNOME", "X-Cinnamon" }) {
        const std::string schema = std::string(desktop) == "GNOME" ? "org.gnome.desktop.background"
                                                                   : "org.cinnamon.desktop.background";
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(desktop) + " " + c.options);
            runner_.gsettings[schema + " picture-uri"] = "'file:///home/u/My%20Pictures/sea.jpg'";
            runner_.gsettings[schema + " picture-options"] = c.options;
            const DesktopState state = LinuxDesktop(runner_, Env(desktop)).Read();
            EXPECT_EQ("/home/u/My Pictures/sea.jpg", state.picture);
            EXPECT_EQ(c.placement, state.placement);
        }
    }
    // In the dark style GNOME shows its dark picture.
    runner_.gsettings["org.gnome.desktop.background picture-uri"] = "'file:///light.jpg'";
    runner_.gsettings["org.gnome.desktop.background picture-uri-dark"] = "'file:///dark.jpg'";
    runner_.gsettings["org.gnome.desktop.background picture-options"] = "'zoom'";
    runner_.gsettings["org.gnome.desktop.interface color-scheme"] = "'prefer-dark'";
    EXPECT_EQ("/dark.jpg", LinuxDesktop(runner_, Env("GNOME")).Read().picture);

    runner_.gsettings["org.mate.background picture-filename"] = "'/usr/share/backgrounds/a.bmp'";
    runner_.gsettings["org.mate.background picture-options"] = "'wallpaper'";
    runner_.gsettings["org.mate.background primary-color"] = "'#102030'";
    const DesktopState mate = LinuxDesktop(runner_, Env("MATE")).Read();
    EXPECT_EQ("/usr/share/backgrounds/a.bmp", mate.picture);
    EXPECT_EQ(Placement::Wallpaper, mate.placement);
    EXPECT_EQ(0x00302010u, mate.colour);
}

TEST_F(LinuxDesktopTest, InstallsANewPngCopyFromMemoryAndKeepsDrawingFromTheUsersPicture)
{
    const std::string schema = "org.gnome.desktop.background";
    runner_.gsettings[schema + " picture-uri"] = "'file:///pics/mine.jpg'";
    runner_.gsettings[schema + " picture-options"] = "'centered'";
    LinuxDesktop linux(runner_, Env("GNOME"));
    linux.Read();
    ASSERT_TRUE(linux.Install(Drawn()));
    const std::vector<std::string> first = Copies();
    ASSERT_EQ(1u, first.size());
    const std::string copy = home_ + "/.cache/corkpane/" + first[0];
    const std::string uri = "'file://" + copy + "'";
    EXPECT_EQ(uri, runner_.gsettings[schema + " picture-uri"]);
    EXPECT_EQ(uri, runner_.gsettings[schema + " picture-uri-dark"]);
    // The pixels in memory, not a file read back (there is no bitmap file).
    QImage png;
    ASSERT_TRUE(png.load(QString::fromStdString(copy), "PNG"));
    EXPECT_EQ(8, png.width());
    EXPECT_EQ(QColor(Qt::red).rgb(), png.pixel(7, 3));
    EXPECT_FALSE(std::filesystem::exists(temp_.Path() / "kabegami.bmp"));

    // The desktop now names our copy; the draw still starts from the user's.
    DesktopState state = linux.Read();
    EXPECT_EQ("/pics/mine.jpg", state.picture);
    EXPECT_EQ(Placement::Centered, state.placement);
    ASSERT_TRUE(linux.Install(Drawn()));
    const std::vector<std::string> second = Copies();
    ASSERT_EQ(1u, second.size()); // the earlier copy is gone
    EXPECT_NE(first[0], second[0]);
    // A desktop that does not take the next one keeps showing its copy.
    runner_.ignoresSettings = true;
    linux.Read();
    EXPECT_FALSE(linux.Install(Drawn()));
    EXPECT_TRUE(std::filesystem::exists(home_ + "/.cache/corkpane/" + second[0]));
    runner_.ignoresSettings = false;

    // The user picks another picture: that one is remembered from now on.
    runner_.gsettings[schema + " picture-uri"] = "'file:///pics/new.bmp'";
    runner_.gsettings[schema + " picture-options"] = "'wallpaper'";
    state = linux.Read();
    EXPECT_EQ("/pics/new.bmp", state.picture);
    EXPECT_EQ((RememberedPicture { "/pics/new.bmp", Placement::Wallpaper }),
        WallpaperMemory(linux.MemoryPath()).Load());
}

TEST_F(LinuxDesktopTest, ARunThatCannotReadTheDesktopKeepsTheRememberedPicture)
{
    const std::string schema = "org.gnome.desktop.background";
    runner_.gsettings[schema + " picture-uri"] = "'file:///pics/mine.jpg'";
    runner_.gsettings[schema + " picture-options"] = "'zoom'";
    const RememberedPicture mine { "/pics/mine.jpg", Placement::Zoom };
    {
        LinuxDesktop linux(runner_, Env("GNOME"));
        EXPECT_EQ(mine.picture, linux.Read().picture);
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
        const DesktopState drawn = linux.Read();
        EXPECT_EQ(c.drawsRemembered ? mine.picture : "", drawn.picture);
        EXPECT_EQ(mine, WallpaperMemory(linux.MemoryPath()).Load());
        runner_.gsettings = saved;
    }
    // A memory an older version wrote, with the tile and style values.
    temp_.Write(".config/corkpane/wallpaper.txt", "Wallpaper=/old.bmp\nTileWallpaper=1\nWallpaperStyle=0\n");
    EXPECT_EQ((RememberedPicture { "/old.bmp", Placement::ClassicTiled }),
        WallpaperMemory((temp_.Path() / ".config/corkpane/wallpaper.txt").string()).Load());
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
        const ScreenSize size = linux.Read().screen;
        EXPECT_EQ(c.width, size.width);
        EXPECT_EQ(c.height, size.height);
        EXPECT_EQ(c.warned, warning.find("1920x1080") != std::string::npos) << warning;
    }
}

TEST_F(LinuxDesktopTest, EveryDesktopIsToldThroughItsOwnToolAndReadBack)
{
    runner_.xfconf["/backdrop/screen0/monitor0/workspace0/last-image"] = "/a.jpg";
    runner_.xfconf["/backdrop/screen0/monitor1/workspace0/last-image"] = "/b.jpg";
    // pcmanfm writes the picture it is given into its settings file, feh
    // into ~/.fehbg (quoting an apostrophe as a shell does).
    runner_.handler = [this](const std::vector<std::string>& argv) -> std::optional<CommandResult> {
        if (argv[0] == "pgrep")
            return CommandResult { 0, "7 pcmanfm --desktop --profile=LXDE\n" };
        if (argv[0] == "pcmanfm")
            temp_.Write(
                ".config/pcmanfm/LXDE/desktop-items-0.conf", "[*]\nwallpaper=" + argv[2].substr(16) + "\n");
        if (argv[0] == "feh") {
            std::string quoted;
            for (const char c : argv.back())
                quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
            temp_.Write(".fehbg", "feh --no-fehbg " + argv[argv.size() - 2] + " '" + quoted + "'\n");
        }
        if (argv[0] == "pcmanfm" || argv[0] == "feh")
            return CommandResult { 0, "" };
        return std::nullopt;
    };
    temp_.Write(".fehbg", "feh --no-fehbg --bg-fill '/it'\\''s.jpg'\n");
    EXPECT_EQ("/it's.jpg", LinuxDesktop(runner_, Env("", { { "DISPLAY", ":0" } })).Read().picture);
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
        const Installation installed = linux.Install(Drawn(c.spanned));
        EXPECT_TRUE(installed.taken) << installed.problem;
        const std::string copy = home_ + "/.cache/corkpane/" + Copies().at(0);
        for (std::vector<std::string> expected : c.commands) {
            for (std::string& arg : expected) {
                if (const auto at = arg.find('@'); at != std::string::npos)
                    arg.replace(at, 1, copy);
                if (const auto at = arg.find('%'); at != std::string::npos)
                    arg.replace(at, 1, PathToFileUri(copy));
            }
            EXPECT_TRUE(runner_.Called(expected)) << expected[0] << " " << expected.back();
        }
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
        { "NoSuchDesktop", [](FakeRunner&) {}, "NoSuchDesktop" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.desktop) + " " + c.says);
        FakeRunner runner;
        runner.gsettings["org.mate.background picture-filename"] = "'/pics/a.jpg'";
        c.setup(runner);
        LinuxDesktop linux(
            runner, Env(c.desktop, { { "SWAYSOCK", c.desktop == std::string("sway") ? sock : "" } }));
        linux.SetReadBackTime(0);
        const Installation installed = linux.Install(Drawn());
        EXPECT_FALSE(installed.taken);
        EXPECT_NE(std::string::npos, installed.problem.find(Sjis(c.says))) << installed.problem;
        EXPECT_EQ(0u, installed.problem.find(linux.DesktopName())) << installed.problem;
    }
}

TEST_F(LinuxDesktopTest, SwayIsGivenAPathItCannotReadAsACommand)
{
    // A cache folder whose path sway would split at ";" or expand ($(…)):
    // the picture goes to the session's runtime folder under a plain name.
    const std::string sock = temp_.Write("run/sway-ipc.sock", "").string();
    const std::filesystem::path runtime = temp_.Path() / "run";
    test_files::TempFolder odd("o'brien;$(touch x),`y`");
    home_ = odd.Path().string();
    std::string given;
    runner_.handler = [&given](const std::vector<std::string>& argv) -> std::optional<CommandResult> {
        if (argv[0] == "swaymsg" && argv.size() == 6 && argv[3] == "bg") {
            given = argv[4];
            return CommandResult { 0, "" };
        }
        if (argv[0] == "pgrep" && !given.empty())
            return CommandResult { 0, "9 swaybg -o * -i " + given + " -m fill\n" };
        return std::nullopt;
    };
    LinuxDesktop linux(
        runner_, Env("sway", { { "SWAYSOCK", sock }, { "XDG_RUNTIME_DIR", runtime.string() } }));
    linux.SetReadBackTime(0);
    const Installation installed = linux.Install(Drawn());
    ASSERT_TRUE(installed.taken) << installed.problem;
    EXPECT_EQ(0u, given.find(runtime.string() + "/corkpane-kabegami-")) << given;
    EXPECT_EQ(std::string::npos,
        given.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._+-"))
        << given;
    EXPECT_TRUE(std::filesystem::exists(given));
    home_ = temp_.Path().string();
}

TEST_F(LinuxDesktopTest, EachDesktopsOwnPlacementIsReadAndRememberedWhileOurCopyShows)
{
    // One user picture per desktop, in each desktop's own form and mode.
    const struct {
        const char* desktop;
        std::function<void(FakeRunner&, test_files::TempFolder&)> setup;
        Placement placement;
        std::string picture;
    } cases[] = {
        { "XFCE",
            [](FakeRunner& r, test_files::TempFolder&) {
                r.xfconf["/backdrop/screen0/monitor0/workspace0/last-image"] = "/p.jpg";
                r.xfconf["/backdrop/screen0/monitor0/workspace0/image-style"] = "4";
            },
            Placement::Scaled, "/p.jpg" },
        { "XFCE",
            [](FakeRunner& r, test_files::TempFolder&) {
                r.xfconf["/backdrop/screen0/monitorHDMI-1/workspace0/last-image"] = "/pics/xfce.bmp";
                r.xfconf["/backdrop/screen0/monitorHDMI-1/workspace0/image-style"] = "6";
                r.xfconf["/backdrop/screen0/monitorHDMI-1/workspace1/last-image"] = "/pics/other.bmp";
            },
            Placement::Spanned, "/pics/xfce.bmp" },
        { "KDE",
            [](FakeRunner&, test_files::TempFolder& t) {
                t.Write(".config/plasma-org.kde.plasma.desktop-appletsrc",
                    "[Containments][7]\nlastScreen=1\n[Containments][7][Wallpaper][org.kde.image][General]\n"
                    "Image=/other.png\n[Containments][9]\nlastScreen=0\n"
                    "[Containments][9][Wallpaper][org.kde.image][General]\nFillMode=1\nImage=file:///"
                    "p.png\n");
            },
            Placement::Scaled, "/p.png" },
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
            Placement::Zoom, "/s.jpg" },
        { "LXQt",
            [](FakeRunner& r, test_files::TempFolder& t) {
                r.answers["pgrep"] = { 1, "" };
                t.Write(".config/pcmanfm-qt/lxqt/settings.conf",
                    "[Behavior]\nWallpaper=/no.jpg\n[Desktop]\nBgColor=#000000\n"
                    "Wallpaper=\"/home/u/\\x5199\\x771f/a b.jpg\"\nWallpaperMode=center\n");
            },
            Placement::Centered, "/home/u/\xE5\x86\x99\xE7\x9C\x9F/a b.jpg" },
        { "LXDE",
            [](FakeRunner& r, test_files::TempFolder& t) {
                r.answers["pgrep -a -u " + std::to_string(::getuid())
                    + " -f (^|/)pcmanfm( .*)? --desktop( |$)"]
                    = { 0, "5 pcmanfm --desktop --profile LXDE\n" };
                t.Write(".config/pcmanfm/LXDE/desktop-items-0.conf",
                    "[*]\nwallpaper_mode=tile\nwallpaper=/p.jpg\n");
            },
            Placement::Wallpaper, "/p.jpg" },
        { "sway",
            [](FakeRunner& r, test_files::TempFolder&) {
                r.answers["pgrep -a -u " + std::to_string(::getuid()) + " -x swaybg"] = { 0,
                    "40 swaybg -o HDMI-A-1 -i /q.png -m tile -o DP-1 -i /my pics/p.png -m fit -c #000000\n" };
                r.answers["swaymsg -t get_outputs -r"]
                    = { 0, R"([{"name": "DP-1", "rect": {"width": 10}}])" };
            },
            Placement::Scaled, "/my pics/p.png" },
        { "",
            [](FakeRunner&, test_files::TempFolder& t) {
                t.Write(".fehbg", "#!/bin/sh\nfeh --no-fehbg --no-xinerama --bg-fill '/p.jpg'\n");
            },
            Placement::Spanned, "/p.jpg" },
        { "",
            [](FakeRunner&, test_files::TempFolder& t) {
                t.Write(".fehbg", "feh --no-fehbg --bg-center '/pics/feh.jpg'\n");
            },
            Placement::Centered, "/pics/feh.jpg" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.desktop) + " " + c.picture);
        test_files::TempFolder home("desktop");
        home_ = home.Path().string();
        FakeRunner runner;
        c.setup(runner, home);
        LinuxDesktop linux(runner, Env(c.desktop, { { "DISPLAY", ":0" } }));
        const DesktopState state = linux.Read();
        EXPECT_EQ(c.picture, state.picture);
        EXPECT_EQ(c.placement, state.placement);
    }
    // While our copy shows (zoomed), the user's own placement is drawn.
    home_ = temp_.Path().string();
    runner_.gsettings["org.gnome.desktop.background picture-uri"] = "'file:///pics/mine.jpg'";
    runner_.gsettings["org.gnome.desktop.background picture-options"] = "'scaled'";
    LinuxDesktop gnome(runner_, Env("GNOME"));
    gnome.Read();
    ASSERT_TRUE(gnome.Install(Drawn()));
    EXPECT_EQ("'zoom'", runner_.gsettings["org.gnome.desktop.background picture-options"]);
    const DesktopState next = LinuxDesktop(runner_, Env("GNOME")).Read();
    EXPECT_EQ("/pics/mine.jpg", next.picture);
    EXPECT_EQ(Placement::Scaled, next.placement);
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
        const DesktopState state = linux.Read();
        EXPECT_EQ(c.want, state.monitors);
        const auto primary
            = std::find_if(c.want.begin(), c.want.end(), [](const Monitor& m) { return m.primary; });
        EXPECT_EQ(primary->geometry.width, state.screen.width);
        EXPECT_EQ(96, state.pixelsPerInch);
    }
}

TEST_F(LinuxDesktopTest, WithoutAHomeFolderNothingIsWrittenAndInstallingFails)
{
    runner_.gsettings["org.gnome.desktop.background picture-uri"] = "'file:///pics/a.jpg'";
    const auto noHome = [](const std::string& n) {
        return n == "XDG_CURRENT_DESKTOP" ? std::string("GNOME") : std::string();
    };
    LinuxDesktop linux(runner_, noHome, [] { return std::string(); });
    EXPECT_EQ("/pics/a.jpg", linux.Read().picture);
    EXPECT_FALSE(linux.Install(Drawn()));
    EXPECT_EQ("'file:///pics/a.jpg'", runner_.gsettings["org.gnome.desktop.background picture-uri"]);
}

TEST(DesktopText, ColourUriAndGVariantForms)
{
    const struct {
        const char* text;
        std::uint32_t want;
    } colours[] = { { "'#FF8000'", 0x000080FF }, { "'#ffff80800000'", 0x000080FF },
        { "'rgb(1,2,3)'", 0x00030201 }, { "'blue'", 0xDEADu }, { "", 0xDEADu } };
    for (const auto& c : colours)
        EXPECT_EQ(c.want, ColorFromText(c.text, 0xDEAD)) << c.text;

    EXPECT_EQ("file:///a%20b/%E5%86%99.jpg", PathToFileUri("/a b/\xE5\x86\x99.jpg"));
    EXPECT_EQ("/a b/\xE5\x86\x99.jpg", FileUriToPath("file:///a%20b/%E5%86%99.jpg"));
    EXPECT_EQ("", FileUriToPath("https://example.org/x.jpg"));
    EXPECT_EQ("it's", UnquoteGVariant(QuoteGVariant("it's")));
}

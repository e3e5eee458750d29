#pragma once

#include "platform/CommandRunner.h"
#include "platform/Desktop.h"
#include "platform/UserFolders.h"
#include "platform/WallpaperMemory.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The running Linux desktop, through its own tools and files: GNOME,
// Cinnamon and MATE (gsettings), KDE Plasma (the shell's scripting
// interface on D-Bus, its applet configuration), Xfce (xfconf-query), LXQt
// (pcmanfm-qt), LXDE (pcmanfm), sway (swaymsg, swaybg) and a plain X11
// session (feh). The picture and placement are mapped onto the three
// wallpaper values the drawing understands, and the desktop's own
// placement mode is read beside them.
//
// Desktops keep a file's path and do not notice when the file changes, so
// every installation copies the drawn bitmap to a new PNG in the user's
// cache folder (removing the earlier copies). Installing changes the user's
// own settings; the user's own picture is therefore remembered whenever the
// desktop names something other than our output, and used from then on.
// After installing, the desktop's setting is read back: a desktop that
// does not show the new picture is reported by name, with the reason.
class LinuxDesktop : public Desktop {
public:
    enum class Kind { Gnome, Cinnamon, Mate, Kde, Xfce, Lxqt, Lxde, Sway, X11, Unknown };

    // Reads an environment variable; empty when unset.
    using Environment = EnvironmentLookup;

    // The monitors as the running window system reports them (device
    // pixels, work areas, scales); empty when there is none to ask.
    using ScreenProbe = std::function<std::vector<Monitor>()>;
    // Receives a line for standard error.
    using Warning = std::function<void(const std::string&)>;

    // The screen is asked through Qt when the program runs a GUI
    // application on a real display; warnings go to standard error. The
    // user's folders come from environment, with accountHome where HOME is
    // unset.
    LinuxDesktop(
        CommandRunner& runner, Environment environment, AccountHomeLookup accountHome = &AccountHome);

    void SetScreenProbe(ScreenProbe probe) { screenProbe_ = std::move(probe); }
    void SetWarning(Warning warning) { warning_ = std::move(warning); }
    // How long a desktop that takes a picture asynchronously is given to
    // show it before its setting is read back.
    void SetReadBackTime(int milliseconds) { readBackMilliseconds_ = milliseconds; }
    // The size drawn at when no screen can be asked.
    static constexpr ScreenSize kFallbackScreen { 1920, 1080 };
    // The screens of the running Qt GUI application in device pixels, with
    // their available areas; empty without one, or on a platform without a
    // real screen.
    static std::vector<Monitor> QtScreens();

    Kind DesktopKind() const { return kind_; }
    static Kind DetectKind(const Environment& environment);
    // The desktop's name as its users know it ("KDE Plasma").
    std::string DesktopName() const;

    WallpaperSettings ReadWallpaperSettings() override;
    std::optional<Placement> WallpaperPlacement() override;
    ScreenSize PrimaryScreenSize() override;
    std::vector<Monitor> Monitors() override;
    int PixelsPerInch() override;
    std::uint32_t DesktopColor() override;
    Installation InstallWallpaper(const std::string& path, bool spanned) override;
    bool RunsAutostartEntries() override;

    // What the desktop itself names right now, before the memory is applied.
    WallpaperSettings ReadDesktopSettings();
    // Folder of the installed copies, and the memory file.
    const std::string& CacheFolder() const { return cacheFolder_; }
    const std::string& MemoryPath() const { return memory_.Path(); }
    // True for a path that is one of our own installed copies.
    bool IsOurOutput(const std::string& path) const;

    static ScreenSize ScreenFromXrandr(const std::string& output);
    static ScreenSize ScreenFromXdpyinfo(const std::string& output);
    static std::uint32_t ColorFromText(const std::string& text, std::uint32_t fallback);
    static std::string UnquoteGVariant(const std::string& text);
    static std::string QuoteGVariant(const std::string& text);
    static std::string FileUriToPath(const std::string& uri);
    static std::string PathToFileUri(const std::string& path);

private:
    // What a desktop says of its picture: the three values and its own
    // placement mode.
    struct Picture {
        WallpaperSettings settings;
        std::optional<Placement> placement;
    };
    // A desktop's row: detection, reading, installing and its colour.
    struct Entry;
    static const Entry kEntries[];
    static const Entry* FindEntry(Kind kind);

    Picture ReadPicture();
    Picture ReadGnomeLike(const Entry& entry);
    Picture ReadKde(const Entry& entry);
    Picture ReadXfce(const Entry& entry);
    Picture ReadLxqt(const Entry& entry);
    Picture ReadLxde(const Entry& entry);
    Picture ReadSway(const Entry& entry);
    Picture ReadFeh(const Entry& entry);
    Installation InstallGnomeLike(const Entry& entry, const std::string& copy, bool spanned);
    Installation InstallKde(const Entry& entry, const std::string& copy, bool spanned);
    Installation InstallXfce(const Entry& entry, const std::string& copy, bool spanned);
    Installation InstallLxqt(const Entry& entry, const std::string& copy, bool spanned);
    Installation InstallLxde(const Entry& entry, const std::string& copy, bool spanned);
    Installation InstallSway(const Entry& entry, const std::string& copy, bool spanned);
    Installation InstallFeh(const Entry& entry, const std::string& copy, bool spanned);
    std::uint32_t GnomeLikeColor(const Entry& entry);
    std::uint32_t LxqtColor(const Entry& entry);
    std::uint32_t LxdeColor(const Entry& entry);

    std::string Gsettings(const std::string& schema, const std::string& key);
    bool GsettingsSet(const std::string& schema, const std::string& key, const std::string& value);
    std::vector<std::string> XfceImageProperties();
    // Runs a script in KDE Plasma's shell; its printed text, or the D-Bus
    // error when it failed (error set).
    std::string PlasmaScript(const std::string& script, bool& failed, std::string& error);
    // The pcmanfm or pcmanfm-qt desktop process's profile; nullopt when no
    // such process runs.
    std::optional<std::string> PcmanfmDesktopProfile(const std::string& program);
    std::string PcmanfmFile(const std::string& program, const std::string& profile) const;
    // The running swaybg's picture and mode for the primary output.
    std::optional<std::pair<std::string, std::string>> SwaybgPicture();
    // Asks again until check holds or the read-back time is over.
    bool Eventually(const std::function<bool()>& check);
    std::vector<Monitor> WindowSystemMonitors();
    void ApplyX11WorkArea(std::vector<Monitor>& monitors);
    double X11Scale();
    std::string MakeCopy(const std::string& bitmap);
    // Removes our copies in the cache folder but these two.
    void RemoveCopiesBut(const std::string& copy, const std::string& shown);

    CommandRunner& runner_;
    Environment env_;
    Kind kind_;
    const Entry* entry_; // null for an unknown desktop
    UserFolders folders_;
    std::string cacheFolder_;
    WallpaperMemory memory_;
    ScreenProbe screenProbe_;
    Warning warning_;
    int readBackMilliseconds_ = 3000;
    std::optional<Placement> lastPlacement_;
    bool placementRead_ = false;
};

} // namespace platform

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

// The running Linux desktop, through its own tools: GNOME and Cinnamon
// (gsettings), MATE (gsettings), KDE Plasma (its applet configuration and
// plasma-apply-wallpaperimage), XFCE (xfconf-query), sway (swaymsg) and a
// plain X11 session (feh). The picture and placement are mapped onto the
// three wallpaper values the drawing understands.
//
// Desktops keep a file's path and do not notice when the file changes, so
// every installation copies the drawn bitmap to a new PNG in the user's
// cache folder (removing the earlier copies). Installing changes the user's
// own settings; the user's own picture is therefore remembered whenever the
// desktop names something other than our output, and used from then on.
class LinuxDesktop : public Desktop {
public:
    enum class Kind { Gnome, Cinnamon, Mate, Kde, Xfce, Sway, X11, Unknown };

    // Reads an environment variable; empty when unset.
    using Environment = EnvironmentLookup;

    // The primary screen as the running window system reports it; nullopt
    // when there is none to ask.
    using ScreenProbe = std::function<std::optional<ScreenSize>()>;
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
    // The size drawn at when no screen can be asked.
    static constexpr ScreenSize kFallbackScreen { 1920, 1080 };
    // The primary screen of the running Qt GUI application in device
    // pixels; nullopt without one, or on a platform without a real screen.
    static std::optional<ScreenSize> QtPrimaryScreen();

    Kind DesktopKind() const { return kind_; }
    static Kind DetectKind(const Environment& environment);

    WallpaperSettings ReadWallpaperSettings() override;
    ScreenSize PrimaryScreenSize() override;
    int PixelsPerInch() override;
    std::uint32_t DesktopColor() override;
    bool InstallWallpaper(const std::string& path) override;

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
    // A desktop's row: detection, reading, installing and its colour.
    struct Entry;
    static const Entry kEntries[];
    static const Entry* FindEntry(Kind kind);

    std::string Gsettings(const std::string& schema, const std::string& key);
    bool GsettingsSet(const std::string& schema, const std::string& key, const std::string& value);
    std::vector<std::string> XfceImageProperties();
    WallpaperSettings ReadGnomeLike(const Entry& entry);
    WallpaperSettings ReadKde(const Entry& entry);
    WallpaperSettings ReadXfce(const Entry& entry);
    WallpaperSettings ReadFeh(const Entry& entry);
    bool InstallGnomeLike(const Entry& entry, const std::string& copy);
    bool InstallKde(const Entry& entry, const std::string& copy);
    bool InstallXfce(const Entry& entry, const std::string& copy);
    bool InstallSway(const Entry& entry, const std::string& copy);
    bool InstallFeh(const Entry& entry, const std::string& copy);
    std::uint32_t GnomeLikeColor(const Entry& entry);
    std::string MakeCopy(const std::string& bitmap);

    CommandRunner& runner_;
    Environment env_;
    Kind kind_;
    const Entry* entry_; // null for an unknown desktop
    UserFolders folders_;
    std::string cacheFolder_;
    WallpaperMemory memory_;
    ScreenProbe screenProbe_;
    Warning warning_;
};

} // namespace platform

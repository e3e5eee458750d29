#pragma once

#include "platform/CommandRunner.h"
#include "platform/Desktop.h"
#include "platform/UserFolders.h"
#include "platform/WallpaperMemory.h"
#include "platform/desktops/DesktopKind.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The running Linux desktop, through its own tools and files (one file per
// desktop in platform/desktops/: the GNOME family, KDE Plasma, Xfce, LXQt,
// LXDE, sway, and a plain X11 session drawn by feh).
//
// Desktops keep a file's path and do not notice when the file changes, so
// every installation writes the drawn wallpaper to a new PNG in the user's
// cache folder (removing the earlier copies). Installing changes the user's
// own settings; the user's own picture is therefore remembered whenever the
// desktop names something other than our output, and drawn from then on.
// After installing, the desktop's setting is read back: a desktop that does
// not show the new picture is reported by name, with the reason.
class LinuxDesktop : public Desktop {
public:
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
        CommandRunner& runner, EnvironmentLookup environment, AccountHomeLookup accountHome = &AccountHome);
    ~LinuxDesktop() override;

    void SetScreenProbe(ScreenProbe probe) { screenProbe_ = std::move(probe); }
    void SetWarning(Warning warning) { warning_ = std::move(warning); }
    // How long a desktop that takes a picture asynchronously is given to
    // show it before its setting is read back.
    void SetReadBackTime(int milliseconds) { tools_.readBackMilliseconds = milliseconds; }
    // The size drawn at when no screen can be asked.
    static constexpr ScreenSize kFallbackScreen { 1920, 1080 };

    // The desktop the session runs; nullopt when it is none of ours.
    std::optional<DesktopKind::Id> Kind() const;
    // The desktop's name as its users know it ("KDE Plasma").
    std::string DesktopName() const;

    DesktopState Read() override;
    Installation Install(const DrawnWallpaper& wallpaper) override;
    bool RunsAutostartEntries() override;

    // Folder of the installed copies, and the memory file.
    const std::string& CacheFolder() const { return cacheFolder_; }
    const std::string& MemoryPath() const { return memory_.Path(); }
    // True for a path that is one of our own installed copies.
    bool IsOurOutput(const std::string& path) const;

private:
    std::vector<Monitor> Monitors();
    // The drawn pixels as a new PNG in the cache folder; "" when it cannot
    // be written.
    std::string MakeCopy(const DrawnWallpaper& wallpaper);
    // Removes our copies in the cache folder but these two.
    void RemoveCopiesBut(const std::string& copy, const std::string& shown);

    DesktopTools tools_;
    std::unique_ptr<DesktopKind> desktop_; // null for a desktop we do not know
    std::string cacheFolder_;
    WallpaperMemory memory_;
    ScreenProbe screenProbe_;
    Warning warning_;
    // What the desktop named at the last Read: the copy it still shows when
    // it does not take a new one.
    std::optional<std::string> shownBefore_;
};

} // namespace platform

#pragma once

// One kind of Linux desktop: how it names its picture and placement, how it
// is told to show another picture, and what else the draw needs to know of
// it. Each desktop lives in a file of its own in this folder; FindDesktop
// picks the one the session runs.

#include "platform/CommandRunner.h"
#include "platform/Desktop.h"
#include "platform/UserFolders.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// What the desktops' code works with: their command-line tools, the
// session's variables and the user's folders.
struct DesktopTools {
    CommandRunner& runner;
    EnvironmentLookup env;
    UserFolders folders;
    // How long a desktop that takes a picture asynchronously is given to
    // show it before its setting is read back.
    int readBackMilliseconds = 3000;

    // Asks again until check holds or the read-back time is over.
    bool Eventually(const std::function<bool()>& check) const;
    // One of the desktop's own small text files; empty when it is missing,
    // cannot be read, or there is no folder to look in.
    std::string ReadConfig(const std::filesystem::path& folder, const std::string& name) const;
};

// The picture a desktop names and its own placement mode.
struct ShownPicture {
    std::string picture; // a path; empty when the desktop shows none
    Placement placement = Placement::ClassicStretched;

    bool operator==(const ShownPicture&) const = default;
};

class DesktopKind {
public:
    enum class Id { Gnome, Cinnamon, Mate, Kde, Xfce, Lxqt, Lxde, Sway, X11 };

    explicit DesktopKind(DesktopTools& tools)
        : tools_(tools)
    {
    }
    virtual ~DesktopKind() = default;

    virtual Id Kind() const = 0;
    // As its users know it, for messages ("KDE Plasma").
    virtual const char* Name() const = 0;
    // The picture and placement the desktop shows now; nullopt when it
    // could not be asked or shows something that is no one picture.
    virtual std::optional<ShownPicture> Read() = 0;
    // Tells the desktop to show the picture at copy (a PNG file of ours),
    // one to one or laid over all monitors, and reads its setting back.
    virtual Installation Install(const std::string& copy, bool spanned) = 0;
    // The desktop's background colour, 0x00BBGGRR.
    virtual std::uint32_t Colour() { return 0; }
    // Whether the session starts the user's XDG autostart entries.
    virtual bool RunsAutostartEntries() const { return true; }
    // What the desktop's own bars cover at the top and bottom of the primary
    // monitor, in logical pixels, where the window system does not say
    // (Wayland).
    virtual int TopBar() const { return 0; }
    virtual int BottomBar() const { return 0; }

protected:
    // A command's failure as the user reads it: the program missing, or
    // failed.
    Installation Failed(const char* program, const CommandResult& result) const;
    Installation NotShown() const;

    DesktopTools& tools_;
};

// The desktop the session runs: the first whose words stand in
// XDG_CURRENT_DESKTOP or DESKTOP_SESSION, or whose variable is set (sway's
// socket, an X display for feh); null when none is recognised.
std::unique_ptr<DesktopKind> FindDesktop(DesktopTools& tools);

// Each desktop's maker, one per file of this folder.
std::unique_ptr<DesktopKind> MakeGnomeDesktop(DesktopTools& tools);
std::unique_ptr<DesktopKind> MakeCinnamonDesktop(DesktopTools& tools);
std::unique_ptr<DesktopKind> MakeMateDesktop(DesktopTools& tools);
std::unique_ptr<DesktopKind> MakeKdeDesktop(DesktopTools& tools);
std::unique_ptr<DesktopKind> MakeXfceDesktop(DesktopTools& tools);
std::unique_ptr<DesktopKind> MakeLxqtDesktop(DesktopTools& tools);
std::unique_ptr<DesktopKind> MakeLxdeDesktop(DesktopTools& tools);
std::unique_ptr<DesktopKind> MakeSwayDesktop(DesktopTools& tools);
std::unique_ptr<DesktopKind> MakeFehDesktop(DesktopTools& tools);

} // namespace platform

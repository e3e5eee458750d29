#pragma once

#include "platform/CommandRunner.h"

#include <filesystem>
#include <string>

namespace platform {

// A systemd user timer that redraws the wallpaper every day shortly after
// midnight, without receiving mail, so that a machine left running shows
// the current day's schedule. Persistent= makes a run missed while the
// machine was off or asleep happen right after boot or resume.
//
// The timer starts "corkpane-tool draw --install --dir <folder>" from the
// program's folder: the same files and desktop as the window's draw, and
// no window.
class RedrawTimer {
public:
    static constexpr const char* kServiceName = "corkpane-redraw.service";
    static constexpr const char* kTimerName = "corkpane-redraw.timer";

    // unitFolder is the user's unit folder (UserFolders::SystemdUserUnits).
    RedrawTimer(CommandRunner& runner, std::filesystem::path unitFolder);

    // The units' texts.
    static std::string ServiceUnit(const std::filesystem::path& tool, const std::filesystem::path& folder);
    static std::string TimerUnit();
    // One word of an ExecStart= line, quoted when needed.
    static std::string ExecWord(const std::string& word);

    // True when systemd runs the user's services here: systemctl exists and
    // there is a unit folder to write to.
    bool Available();

    // Writes both units, enables the timer and asks the user's service
    // manager to start it. Nothing else is touched. A unit folder, unit
    // file or link that cannot be made throws the file unit's FileIoError,
    // which names it and the system's reason. A service manager that is not
    // running (it picks the units up at the next logon) is not a failure.
    void Install(const std::filesystem::path& tool, const std::filesystem::path& folder);

private:
    CommandRunner& runner_;
    std::filesystem::path unitFolder_;
};

} // namespace platform

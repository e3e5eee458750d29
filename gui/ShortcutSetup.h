#pragma once

// What "ショートカット作成" makes once the user has said yes: the desktop
// launcher, the logon entry and the daily redraw timer, and the report that
// lists each with its file or the reason it could not be made.

#include "gui/ShortcutMaker.h"

#include <filesystem>
#include <string>

namespace platform {
class CommandRunner;
}

namespace gui {

struct ShortcutSetup {
    // The running program; corkpane-tool lies beside it.
    std::filesystem::path program;
    // The folder the shortcuts and the timer start the program in; empty
    // for the program's own folder.
    std::filesystem::path startIn;
    // Runs systemctl; null for real processes.
    platform::CommandRunner* commandRunner = nullptr;
    // False where the session starts no autostart entries (sway): the
    // report then gives the line its configuration needs.
    bool sessionRunsAutostart = true;
};

// Makes the three and returns the report (Shift_JIS). Failures of a single
// shortcut also go to message as they happen, in the design's own boxes.
std::string MakeShortcuts(const ShortcutSetup& setup, const ShortcutMaker::MessageCallback& message);

// The line a sway configuration needs for the logon run, in UTF-8.
std::string AutostartExecLine(const ShortcutSetup& setup);

} // namespace gui

#include "gui/ShortcutSetup.h"

#include "gui/Texts.h"
#include "platform/CommandRunner.h"
#include "platform/FileIo.h"
#include "platform/RedrawTimer.h"
#include "platform/SjisText.h"
#include "platform/UserError.h"
#include "platform/UserFolders.h"

#include <QString>

namespace gui {
namespace {

std::filesystem::path StartFolder(const ShortcutSetup& setup)
{
    return setup.startIn.empty() ? setup.program.parent_path() : setup.startIn;
}

// The timer's line of the report; failed is set when it could not be made
// (a timer that has no place here is said, not counted as a failure).
std::string InstallRedrawTimer(const ShortcutSetup& setup, bool& failed)
{
    failed = false;
#ifndef _WIN32
    // The timer runs the command-line tool that is installed beside the
    // program; without it, or without systemd, the logon run alone draws.
    const std::filesystem::path tool = setup.program.parent_path() / "corkpane-tool";
    if (!std::filesystem::exists(tool)) {
        return texts::kRedrawTimerItem + texts::kRedrawTimerNoTool;
    }
    platform::ProcessRunner processes;
    const std::filesystem::path units = platform::UserFolders::OfProcess().SystemdUserUnits();
    platform::RedrawTimer timer(setup.commandRunner != nullptr ? *setup.commandRunner : processes, units);
    if (!timer.Available()) {
        return texts::kRedrawTimerItem + texts::kRedrawTimerNoSystemd;
    }
    try {
        timer.Install(tool, StartFolder(setup));
    } catch (const platform::UserError& error) {
        failed = true;
        return texts::kRedrawTimerItem + texts::kNotMade + error.what();
    }
    return texts::kRedrawTimerItem + platform::PathText(units / platform::RedrawTimer::kTimerName);
#else
    (void)setup;
    return {};
#endif
}

} // namespace

std::string AutostartExecLine(const ShortcutSetup& setup)
{
    // sway runs the line through the shell: the program starts in the
    // folder the autostart entry would start it in.
    const auto quoted = [](const std::filesystem::path& path) {
        return QStringLiteral("'")
            + QString::fromStdU16String(path.u16string())
                  .replace(QStringLiteral("'"), QStringLiteral("'\\''"))
            + QStringLiteral("'");
    };
    return (QStringLiteral("exec cd ") + quoted(StartFolder(setup)) + QStringLiteral(" && exec ")
        + quoted(setup.program) + QStringLiteral(" /su"))
        .toStdString();
}

std::string MakeShortcuts(const ShortcutSetup& setup, const ShortcutMaker::MessageCallback& message)
{
    ShortcutMaker maker(setup.program, message, setup.startIn);
    const ShortcutMaker::Result desktop = maker.MakeShortCut("Corkpane", ShortcutMaker::kDesktop);
    const ShortcutMaker::Result startup = maker.MakeShortCut("Corkpane", ShortcutMaker::kStartup);
    bool timerFailed = false;
    const std::string timer = InstallRedrawTimer(setup, timerFailed);
    // The report names every file written, so the user can find (and later
    // remove) them, and gives each failure its own reason.
    auto line = [](const std::string& what, const ShortcutMaker::Result& result) {
        return what + (result.made ? platform::PathText(result.file) : texts::kNotMade + result.reason);
    };
    const bool allMade = desktop.made && startup.made && !timerFailed;
    std::string report = (allMade ? texts::kShortcutsMade : texts::kShortcutsNotAllMade) + "\n\n";
    report += line(texts::kDesktopShortcutItem, desktop) + "\n";
    report += line(texts::kStartupShortcutItem, startup);
    if (!timer.empty()) {
        report += "\n" + timer;
    }
    // A session that starts no autostart entries (sway) needs the logon run
    // in its own configuration.
    if (!setup.sessionRunsAutostart) {
        report += "\n\n" + texts::kAutostartLine
            + platform::ToSjis(QString::fromStdString(AutostartExecLine(setup)));
    }
    return report;
}

} // namespace gui

#include "platform/RedrawTimer.h"

#include "platform/FileIo.h"

#include <system_error>

namespace platform {
namespace {

// A path as a condition's value: the whole rest of the line, where systemd
// still expands "%" specifiers.
std::string ConditionPath(const std::filesystem::path& path)
{
    std::string text;
    for (const char c : path.string()) {
        text += c;
        if (c == '%')
            text += '%';
    }
    return text;
}

} // namespace

RedrawTimer::RedrawTimer(CommandRunner& runner, std::filesystem::path unitFolder)
    : runner_(runner)
    , unitFolder_(std::move(unitFolder))
{
}

std::string RedrawTimer::ExecWord(const std::string& word)
{
    // systemd expands "%" specifiers and "$" variables everywhere, and
    // splits at blanks unless the word is quoted.
    std::string escaped;
    bool quote = word.empty();
    for (const char c : word) {
        if (c == '%')
            escaped += "%%";
        else if (c == '$')
            escaped += "$$";
        else if (c == '\\' || c == '"') {
            escaped += '\\';
            escaped += c;
            quote = true;
        } else {
            if (c == ' ' || c == '\t' || c == '\'' || c == ';')
                quote = true;
            escaped += c;
        }
    }
    return quote ? "\"" + escaped + "\"" : escaped;
}

std::string RedrawTimer::ServiceUnit(const std::filesystem::path& tool, const std::filesystem::path& folder)
{
    std::string text = "[Unit]\n"
                       "Description=Corkpane: redraw the wallpaper with today's memo and schedule\n";
    // Once the program is removed, the timer's runs are skipped as unmet
    // conditions (not failures) until the units are removed too.
    text += "ConditionFileIsExecutable=" + ConditionPath(tool) + "\n";
    text += "\n"
            "[Service]\n"
            "Type=oneshot\n";
    text += "ExecStart=" + ExecWord(tool.string()) + " draw --install --dir " + ExecWord(folder.string())
        + "\n";
    return text;
}

std::string RedrawTimer::TimerUnit()
{
    return "[Unit]\n"
           "Description=Corkpane: redraw the wallpaper every day\n"
           "\n"
           "[Timer]\n"
           "OnCalendar=*-*-* 00:01:00\n"
           "AccuracySec=1min\n"
           "Persistent=true\n"
           "Unit=corkpane-redraw.service\n"
           "\n"
           "[Install]\n"
           "WantedBy=timers.target\n";
}

bool RedrawTimer::Available()
{
    // 127: there is no systemctl, so no systemd to run the timer.
    return !unitFolder_.empty() && runner_.Run({ "systemctl", "--version" }).exitCode == 0;
}

void RedrawTimer::Install(const std::filesystem::path& tool, const std::filesystem::path& folder)
{
    const std::filesystem::path wants = unitFolder_ / "timers.target.wants";
    CreateFolders(wants);
    ReplaceFile(unitFolder_ / kServiceName, ServiceUnit(tool, folder), kSmallFileReadLimit);
    ReplaceFile(unitFolder_ / kTimerName, TimerUnit(), kSmallFileReadLimit);
    // Enabled as "systemctl --user enable" would, also when no service
    // manager runs right now.
    const std::filesystem::path link = wants / kTimerName;
    std::error_code error;
    if (!std::filesystem::is_symlink(link, error)) {
        std::filesystem::remove(link, error);
        error.clear();
        std::filesystem::create_symlink(std::filesystem::path("..") / kTimerName, link, error);
        if (error)
            throw FileIoError(CannotCreateMessage(link, FileErrorReason(error.value())), error.value());
    }
    if (runner_.Run({ "systemctl", "--user", "daemon-reload" }).exitCode == 0)
        runner_.Run({ "systemctl", "--user", "start", kTimerName });
}

} // namespace platform

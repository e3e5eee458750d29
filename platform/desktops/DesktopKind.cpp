#include "platform/desktops/DesktopKind.h"

#include "jconvert/AsciiText.h"
#include "platform/FileIo.h"
#include "platform/Texts.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>
#include <unistd.h>

namespace platform {

bool DesktopTools::Eventually(const std::function<bool()>& check) const
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(readBackMilliseconds);
    for (;;) {
        if (check())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::string DesktopTools::ReadConfig(const std::filesystem::path& folder, const std::string& name) const
{
    if (folder.empty())
        return {};
    try {
        return ReadFileIfExists(folder / name, kSmallFileReadLimit * 64).value_or(std::string());
    } catch (const FileIoError&) {
        return {};
    }
}

Installation DesktopKind::Failed(const char* program, const CommandResult& result) const
{
    return { false,
        result.exitCode == 127 ? texts::ToolMissing(Name(), program) : texts::ToolFailed(Name(), program) };
}

Installation DesktopKind::NotShown() const
{
    return { false, texts::NotShown(Name()) };
}

namespace {

// feh draws the background of a plain X11 session only where the user set
// it up: the program is installed and has recorded its picture in ~/.fehbg.
bool FehDrawsTheBackground(const DesktopTools& tools)
{
    std::error_code error;
    if (tools.folders.home.empty() || !std::filesystem::is_regular_file(tools.folders.home / ".fehbg", error))
        return false;
    std::string_view path = "/usr/local/bin:/usr/bin:/bin";
    const std::string variable = tools.env("PATH");
    if (!variable.empty())
        path = variable;
    while (!path.empty()) {
        const std::string_view folder = path.substr(0, path.find(':'));
        path.remove_prefix(std::min(path.size(), folder.size() + 1));
        if (!folder.empty() && ::access((std::filesystem::path(folder) / "feh").c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

struct Row {
    // Any of these in XDG_CURRENT_DESKTOP or DESKTOP_SESSION (lower case).
    std::array<const char*, 3> words;
    // Or this variable being set.
    const char* variable;
    std::unique_ptr<DesktopKind> (*make)(DesktopTools&);
};

// Cinnamon and MATE also name GNOME in their session, so they come first.
constexpr Row kRows[] = {
    { { "cinnamon" }, nullptr, &MakeCinnamonDesktop },
    { { "mate" }, nullptr, &MakeMateDesktop },
    { { "lxqt" }, nullptr, &MakeLxqtDesktop },
    { { "kde", "plasma" }, nullptr, &MakeKdeDesktop },
    { { "xfce" }, nullptr, &MakeXfceDesktop },
    { { "lxde" }, nullptr, &MakeLxdeDesktop },
    { { "gnome", "unity", "budgie" }, nullptr, &MakeGnomeDesktop },
    { { "sway" }, "SWAYSOCK", &MakeSwayDesktop },
};

} // namespace

std::unique_ptr<DesktopKind> FindDesktop(DesktopTools& tools)
{
    const std::string session
        = jconvert::AsciiLowerCopy(tools.env("XDG_CURRENT_DESKTOP") + ":" + tools.env("DESKTOP_SESSION"));
    for (const Row& row : kRows) {
        for (const char* word : row.words)
            if (word != nullptr && session.find(word) != std::string::npos)
                return row.make(tools);
        if (row.variable != nullptr && !tools.env(row.variable).empty())
            return row.make(tools);
    }
    if (!tools.env("DISPLAY").empty() && FehDrawsTheBackground(tools))
        return MakeFehDesktop(tools);
    return nullptr;
}

} // namespace platform

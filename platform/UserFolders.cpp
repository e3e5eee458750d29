#include "platform/UserFolders.h"

#include "jconvert/TextLines.h"
#include "platform/FileIo.h"

#include <cstdlib>
#include <string_view>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

// A dozen lines of folder names; a far larger file is not xdg-user-dirs'.
constexpr std::uint64_t kUserDirsReadLimit = std::uint64_t { 64 } << 10;

bool IsAbsolute(const std::string& path)
{
    return !path.empty() && path[0] == '/';
}

// The variable's folder when it is valid, else the default below home.
std::filesystem::path BaseFolder(const EnvironmentLookup& variable, const char* name,
    const std::filesystem::path& home, const std::filesystem::path& belowHome)
{
    const std::string value = variable(name);
    if (IsAbsolute(value))
        return value;
    return home.empty() ? std::filesystem::path() : home / belowHome;
}

// base / name, or empty when base is unknown.
std::filesystem::path Below(const std::filesystem::path& base, const std::filesystem::path& name)
{
    return base.empty() ? std::filesystem::path() : base / name;
}

} // namespace

std::string ProcessEnvironment(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? value : "";
}

std::string AccountHome()
{
#ifndef _WIN32
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
#endif
    return {};
}

UserFolders UserFolders::Find(const EnvironmentLookup& variable, const AccountHomeLookup& accountHome)
{
    UserFolders folders;
    std::string home = variable("HOME");
    if (home.empty() && accountHome)
        home = accountHome();
    folders.home = home;
    folders.config = BaseFolder(variable, "XDG_CONFIG_HOME", folders.home, ".config");
    folders.data
        = BaseFolder(variable, "XDG_DATA_HOME", folders.home, std::filesystem::path(".local") / "share");
    folders.cache = BaseFolder(variable, "XDG_CACHE_HOME", folders.home, ".cache");
    return folders;
}

UserFolders UserFolders::OfProcess()
{
    return Find(&ProcessEnvironment, &AccountHome);
}

std::filesystem::path UserFolders::Autostart() const
{
    return Below(config, "autostart");
}

std::filesystem::path UserFolders::SystemdUserUnits() const
{
    return Below(config, std::filesystem::path("systemd") / "user");
}

std::filesystem::path UserFolders::OwnConfig() const
{
    return Below(config, "corkpane");
}

std::filesystem::path UserFolders::OwnData() const
{
    return Below(data, "corkpane");
}

std::filesystem::path UserFolders::OwnCache() const
{
    return Below(cache, "corkpane");
}

std::filesystem::path UserFolders::Desktop() const
{
    const std::string dirs = config.empty()
        ? std::string()
        : ReadFileIfExists(config / "user-dirs.dirs", kUserDirsReadLimit).value_or(std::string());
    constexpr std::string_view kKey = "XDG_DESKTOP_DIR=\"";
    for (const std::string_view line : jconvert::SplitLines(dirs)) {
        if (!line.starts_with(kKey))
            continue;
        const std::size_t end = line.find('"', kKey.size());
        if (end == std::string_view::npos)
            break;
        std::string value(line.substr(kKey.size(), end - kKey.size()));
        if (value.starts_with("$HOME") && !home.empty())
            value = home.string() + value.substr(5);
        if (IsAbsolute(value))
            return value;
        break;
    }
    return Below(home, "Desktop");
}

} // namespace platform

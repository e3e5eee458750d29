#pragma once

// The user's own folders, by the XDG Base Directory rules: the one place
// that reads HOME and the XDG folder variables. A value that is not an
// absolute path is invalid and ignored, so the default under the home
// folder applies.

#include <filesystem>
#include <functional>
#include <string>

namespace platform {

// Reads an environment variable; empty when unset.
using EnvironmentLookup = std::function<std::string(const std::string&)>;
// The running user's home folder from the password database; empty when
// there is none.
using AccountHomeLookup = std::function<std::string()>;

// The running process's environment variable; empty when unset.
std::string ProcessEnvironment(const std::string& name);
// The running user's home folder from the password database.
std::string AccountHome();

struct UserFolders {
    // $HOME, or the account's home when HOME is unset; empty when neither
    // is known.
    std::filesystem::path home;
    // $XDG_CONFIG_HOME, else ~/.config.
    std::filesystem::path config;
    // $XDG_DATA_HOME, else ~/.local/share.
    std::filesystem::path data;
    // $XDG_CACHE_HOME, else ~/.cache.
    std::filesystem::path cache;

    // The folders as variable and accountHome (may be empty) give them. A
    // folder that depends on an unknown home is empty, and so is every
    // folder below it.
    static UserFolders Find(const EnvironmentLookup& variable, const AccountHomeLookup& accountHome);
    // The running process's folders.
    static UserFolders OfProcess();

    // The programs started at logon: config/autostart.
    std::filesystem::path Autostart() const;
    // systemd's user units: config/systemd/user.
    std::filesystem::path SystemdUserUnits() const;
    // Corkpane's own folders: config/corkpane, data/corkpane, cache/corkpane.
    std::filesystem::path OwnConfig() const;
    std::filesystem::path OwnData() const;
    std::filesystem::path OwnCache() const;

    // The desktop folder as xdg-user-dirs records it (XDG_DESKTOP_DIR in
    // config/user-dirs.dirs, "$HOME/..." or absolute), else ~/Desktop. A
    // user-dirs.dirs that exists but cannot be read throws FileIoError.
    std::filesystem::path Desktop() const;
};

} // namespace platform

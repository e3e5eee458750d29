#include "platform/UserFolders.h"

#include "common/TempFolder.h"
#include "platform/FileIo.h"

#include <gtest/gtest.h>
#include <map>

using namespace platform;

namespace {

EnvironmentLookup Variables(std::map<std::string, std::string> variables)
{
    return [variables](const std::string& name) {
        const auto it = variables.find(name);
        return it == variables.end() ? std::string() : it->second;
    };
}

AccountHomeLookup Account(const std::string& home)
{
    return [home] { return home; };
}

TEST(UserFolders, XdgVariablesWhenAbsoluteElseTheDefaultsBelowHome)
{
    const struct {
        const char* name;
        std::map<std::string, std::string> variables;
        const char* account;
        const char *home, *config, *data, *cache;
    } cases[] = {
        { "defaults", { { "HOME", "/h" } }, "/a", "/h", "/h/.config", "/h/.local/share", "/h/.cache" },
        { "absolute values",
            { { "HOME", "/h" }, { "XDG_CONFIG_HOME", "/c" }, { "XDG_DATA_HOME", "/d" },
                { "XDG_CACHE_HOME", "/k" } },
            "", "/h", "/c", "/d", "/k" },
        { "relative values are invalid",
            { { "HOME", "/h" }, { "XDG_CONFIG_HOME", "rel" }, { "XDG_DATA_HOME", "./d" },
                { "XDG_CACHE_HOME", "~/k" } },
            "", "/h", "/h/.config", "/h/.local/share", "/h/.cache" },
        { "no HOME: the account's", {}, "/a", "/a", "/a/.config", "/a/.local/share", "/a/.cache" },
        { "no home at all", { { "XDG_CONFIG_HOME", "/c" } }, "", "", "/c", "", "" },
    };
    for (const auto& c : cases) {
        const UserFolders folders = UserFolders::Find(Variables(c.variables), Account(c.account));
        EXPECT_EQ(folders.home, c.home) << c.name;
        EXPECT_EQ(folders.config, c.config) << c.name;
        EXPECT_EQ(folders.data, c.data) << c.name;
        EXPECT_EQ(folders.cache, c.cache) << c.name;
    }

    const UserFolders folders = UserFolders::Find(Variables({ { "XDG_CONFIG_HOME", "/c" } }), nullptr);
    EXPECT_EQ(folders.Autostart(), "/c/autostart");
    EXPECT_EQ(folders.SystemdUserUnits(), "/c/systemd/user");
    EXPECT_EQ(folders.OwnConfig(), "/c/corkpane");
    // Nothing below a folder that is unknown.
    EXPECT_TRUE(folders.OwnData().empty());
    EXPECT_TRUE(folders.OwnCache().empty());
    EXPECT_TRUE(folders.Desktop().empty());
}

TEST(UserFolders, DesktopFolderAsXdgUserDirsRecordsIt)
{
    const test_files::TempFolder temp("user-folders");
    const UserFolders folders = UserFolders::Find(Variables({ { "HOME", temp.Path().string() } }), nullptr);
    const struct {
        const char* dirs; // null: no user-dirs.dirs
        std::string desktop;
    } cases[] = {
        { nullptr, "Desktop" },
        { "# comment\r\nXDG_DOWNLOAD_DIR=\"$HOME/dl\"\r\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\r\n",
            "Schreibtisch" },
        { "XDG_DESKTOP_DIR=\"/data/desk\"\n", "/data/desk" },
        { "XDG_DESKTOP_DIR=\"desk\"\n", "Desktop" },
        { "XDG_DESKTOP_DIR=\"$HOME/unclosed\n", "Desktop" },
    };
    for (const auto& c : cases) {
        std::filesystem::remove(temp / ".config/user-dirs.dirs");
        if (c.dirs != nullptr)
            temp.Write(".config/user-dirs.dirs", c.dirs);
        EXPECT_EQ(folders.Desktop(), temp / c.desktop) << (c.dirs ? c.dirs : "none");
    }

    // One that exists but cannot be read is the file unit's error, not a
    // silent guess.
    std::filesystem::remove(temp / ".config/user-dirs.dirs");
    std::filesystem::create_directory(temp / ".config/user-dirs.dirs");
    EXPECT_THROW(folders.Desktop(), FileIoError);
}

} // namespace

#include "platform/FileFolders.h"

#include "common/TempFolder.h"

#include <gtest/gtest.h>
#include <map>

using namespace platform;

namespace {

FolderEnvironment Fake(std::map<std::string, std::string> variables, bool writable, std::string home = "")
{
    FolderEnvironment environment;
    environment.variable = [variables](const std::string& name) {
        const auto it = variables.find(name);
        return it == variables.end() ? std::string() : it->second;
    };
    environment.writable = [writable](const std::filesystem::path&) { return writable; };
    environment.home = [home] { return home; };
    return environment;
}

TEST(FileFolders, WritableCopiesKeepTheirFilesInstalledProgramsUseThePerUserFolder)
{
    const struct {
        const char* program;
        std::map<std::string, std::string> variables;
        bool writable;
        const char* passwdHome;
        const char* files; // "" the working directory
        const char* schedule;
        const char* startIn;
    } cases[] = {
        // A copy in a folder of its own: as it always was.
        { "/home/u/tools/corkpane", { { "HOME", "/home/u" } }, true, "", "", "/home/u/tools/corkpane",
            "/home/u/tools/corkpane" },
        // Installed: one per-user folder for everything.
        { "/usr/bin", { { "HOME", "/home/u" } }, false, "", "/home/u/.local/share/corkpane",
            "/home/u/.local/share/corkpane", "/home/u/.local/share/corkpane" },
        { "/usr/bin", { { "HOME", "/home/u" }, { "XDG_DATA_HOME", "/data/u" } }, false, "",
            "/data/u/corkpane", "/data/u/corkpane", "/data/u/corkpane" },
        // A relative XDG_DATA_HOME is invalid and ignored.
        { "/usr/bin", { { "HOME", "/home/u" }, { "XDG_DATA_HOME", "data" } }, false, "",
            "/home/u/.local/share/corkpane", "/home/u/.local/share/corkpane",
            "/home/u/.local/share/corkpane" },
        // Under /usr even when writable (root).
        { "/usr/local/bin", { { "HOME", "/root" } }, true, "", "/root/.local/share/corkpane",
            "/root/.local/share/corkpane", "/root/.local/share/corkpane" },
        // Not writable outside /usr, for example /opt.
        { "/opt/corkpane", { { "HOME", "/home/u" } }, false, "", "/home/u/.local/share/corkpane",
            "/home/u/.local/share/corkpane", "/home/u/.local/share/corkpane" },
        // No HOME: the password database's home.
        { "/usr/bin", {}, false, "/var/u", "/var/u/.local/share/corkpane", "/var/u/.local/share/corkpane",
            "/var/u/.local/share/corkpane" },
        // No home at all: nowhere else to go.
        { "/usr/bin", {}, false, "", "", "/usr/bin", "/usr/bin" },
        // "/usrlocal" is not under /usr.
        { "/usrlocal/bin", { { "HOME", "/home/u" } }, true, "", "", "/usrlocal/bin", "/usrlocal/bin" },
    };
    for (const auto& c : cases) {
        const FileFolders folders = ChooseFileFolders(c.program, Fake(c.variables, c.writable, c.passwdHome));
        EXPECT_EQ(c.files, folders.files.string()) << c.program;
        EXPECT_EQ(c.schedule, folders.schedule.string()) << c.program;
        EXPECT_EQ(c.startIn, folders.startIn.string()) << c.program;
        EXPECT_EQ(std::string(c.files) != "", folders.perUser) << c.program;
    }
}

TEST(FileFolders, ThePerUserFolderIsCreatedOnFirstUseAndTheRealFolderTestWorks)
{
    const test_files::TempFolder temp("folders");
    const std::filesystem::path& root = temp.Path();
    const FileFolders folders
        = ChooseFileFolders("/usr/bin", Fake({ { "XDG_DATA_HOME", (root / "data").string() } }, false));
    ASSERT_TRUE(folders.perUser);
    EXPECT_FALSE(std::filesystem::exists(folders.files));
    EXPECT_TRUE(PrepareFileFolders(folders));
    EXPECT_TRUE(std::filesystem::is_directory(root / "data" / "corkpane"));
    // A file where the folder should be: reported, not ignored.
    std::filesystem::remove(root / "data" / "corkpane");
    temp.Write("data/corkpane", "x");
    EXPECT_FALSE(PrepareFileFolders(folders));

    const FolderEnvironment system = SystemFolderEnvironment();
    EXPECT_TRUE(system.writable(root));
    EXPECT_FALSE(system.writable(root / "missing"));
    EXPECT_FALSE(RunningProgramPath().empty());
}

} // namespace

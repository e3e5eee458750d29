#include "CommandRegistry.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

int Invoke(const tool::Args& argv, std::string& err)
{
    std::istringstream in;
    std::ostringstream out, errors;
    tool::Io io { in, out, errors };
    const int status = tool::CommandRegistry::instance().run(argv, io);
    err = errors.str();
    return status;
}

TEST(SettingsCommand, DirChoosesTheFolderOfTheFilesAndNeedsAValue)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "corkpane-tool-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());
    const std::filesystem::path before = std::filesystem::current_path();
    std::string err;
    // Option before and after the action; the files land in the folder,
    // not in the current directory.
    for (const tool::Args& argv : { tool::Args { "settings", "--dir", folder.string(), "roundtrip" },
             tool::Args { "settings", "roundtrip", "--dir", folder.string() } }) {
        std::filesystem::remove(folder / "corkpane.ini");
        EXPECT_EQ(tool::kExitOk, Invoke(argv, err)) << err;
        EXPECT_TRUE(std::filesystem::exists(folder / "corkpane.ini"));
        EXPECT_TRUE(std::filesystem::exists(folder / "memo.txt"));
    }
    EXPECT_EQ(before, std::filesystem::current_path());
    EXPECT_EQ(tool::kExitUsage, Invoke({ "settings", "roundtrip", "--dir" }, err));
    EXPECT_EQ(tool::kExitUsage, Invoke({ "receive", "--dir" }, err));
    EXPECT_NE(err.find("--dir needs a folder"), std::string::npos) << err;
    std::filesystem::remove_all(folder);
}

} // namespace

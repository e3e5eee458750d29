#include "CommandRegistry.h"
#include "common/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

int Invoke(const tool::Args& argv, std::string& err)
{
    std::istringstream in;
    std::ostringstream out, errors;
    tool::Io io { in, out, errors };
    const int status = tool::CommandRegistry::Instance().Run(argv, io);
    err = errors.str();
    return status;
}

TEST(SettingsCommand, DirChoosesTheFolderOfTheFilesAndNeedsAValue)
{
    const test_files::TempFolder temp("tool");
    const std::filesystem::path& folder = temp.Path();
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
}

} // namespace

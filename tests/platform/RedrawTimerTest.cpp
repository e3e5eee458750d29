#include "platform/RedrawTimer.h"

#include "common/TempFolder.h"
#include "platform/FileIo.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class NoCommands : public platform::CommandRunner {
public:
    platform::CommandResult Run(const std::vector<std::string>&) override { return { 127, "" }; }
};

// The window shows the file unit's own message, with the reason, rather
// than a bare failure.
TEST(RedrawTimer, AUnitThatCannotBeWrittenThrowsTheFileUnitsError)
{
    const test_files::TempFolder units("timer");
    std::filesystem::create_directory(units / platform::RedrawTimer::kServiceName);
    NoCommands commands;
    platform::RedrawTimer timer(commands, units.Path());
    try {
        timer.Install("/usr/bin/corkpane-tool", "/data");
        ADD_FAILURE() << "installed";
    } catch (const platform::FileIoError& error) {
        EXPECT_NE(error.SystemError(), 0);
        EXPECT_NE(std::string(error.what()).find((units / platform::RedrawTimer::kServiceName).string()),
            std::string::npos)
            << error.what();
    }
}

// Once the tool is gone, systemd skips the service as an unmet condition
// instead of failing it every night; paths with blanks and "%" too.
TEST(RedrawTimer, TheServiceIsSkippedOnceTheToolIsGone)
{
    if (std::system("systemd-analyze --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "systemd-analyze is not installed";
    const test_files::TempFolder folder("timer");
    for (const char* name : { "corkpane-tool", "my 100% tools/corkpane-tool" }) {
        SCOPED_TRACE(name);
        const std::filesystem::path tool = folder.Write(name, "#!/bin/sh\n");
        std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
        const std::string unit = platform::RedrawTimer::ServiceUnit(tool, folder.Path());
        const auto start = unit.find("\nConditionFileIsExecutable=");
        ASSERT_NE(start, std::string::npos) << unit;
        const std::string condition = unit.substr(start + 1, unit.find('\n', start + 1) - start - 1);
        const std::string check = "systemd-analyze condition '" + condition + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(check.c_str()), 0) << condition;
        std::filesystem::remove(tool);
        EXPECT_NE(std::system(check.c_str()), 0) << condition;
    }
}

} // namespace

#include "platform/RedrawTimer.h"

#include "common/TempFolder.h"
#include "platform/FileIo.h"

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

} // namespace

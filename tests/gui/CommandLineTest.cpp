// corkpane --help and --version run the built program as a user's shell
// would, with no display and no Qt platform chosen: they must answer and
// exit 0 without starting Qt or writing any file.
#include "common/TempFolder.h"
#include "version/Version.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct ProgramRun {
    int status = -1;
    std::string out; // standard output and standard error together
};

// Runs the program with only the given environment, in folder.
ProgramRun RunProgram(
    const std::string& environment, const std::string& arguments, const std::filesystem::path& folder)
{
    const std::string command = "cd '" + folder.string() + "' && env -i PATH=/usr/bin:/bin " + environment
        + " '" + std::string(CORKPANE_PROGRAM) + "' " + arguments + " 2>&1";
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buffer {};
    std::size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.out.append(buffer.data(), count);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CommandLine, HelpAndVersionAnswerWithoutADisplay)
{
    const std::string version = std::string("corkpane ") + version::kNumber + "\n";
    struct Case {
        std::string environment;
        std::string arguments;
        std::string expected; // the whole output, or a part of it
        bool whole;
    };
    const std::vector<Case> cases = {
        { "LANG=C", "--version", version, true },
        { "LANG=ja_JP.UTF-8", "--version", version, true },
        // The first of the two wins, wherever "/su" stands.
        { "LANG=C", "/su --version --help", version, true },
        { "LANG=C", "--help --version", "Usage: corkpane [/su]", false },
        { "LANG=en_GB.UTF-8", "--help", "--version      show the version and exit", false },
        { "LANG=ja_JP.UTF-8", "--help", "使い方: corkpane [/su]", false },
        { "LC_ALL=ja_JP.utf8 LANG=C", "/SU --help", "--version   バージョンを表示して終了します。", false },
        // A terminal that cannot take UTF-8 Japanese gets English.
        { "LANG=ja_JP.eucJP", "--help", "Usage: corkpane [/su]", false },
        { "LC_ALL=C LANG=ja_JP.UTF-8", "--help", "Usage: corkpane [/su]", false },
    };
    const test_files::TempFolder scratch("command-line");
    const std::filesystem::path& folder = scratch.Path();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.environment + " corkpane " + c.arguments);
        const ProgramRun run = RunProgram(c.environment, c.arguments, folder);
        EXPECT_EQ(run.status, 0) << run.out;
        if (c.whole) {
            EXPECT_EQ(run.out, c.expected);
        } else {
            EXPECT_NE(run.out.find(c.expected), std::string::npos) << run.out;
            // Nothing from Qt: it was never started.
            EXPECT_EQ(run.out.find("qt."), std::string::npos) << run.out;
        }
    }
    // Not even the unattended run's files appeared.
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

} // namespace

// The built corkpane-tool as a shell runs it: failures exit non-zero with
// the system's reason, in the encoding of the locale, and leave no file
// half written.
#include "common/SjisLiteral.h"
#include "common/TempFolder.h"
#include "jconvert/codes.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace {

struct Outcome {
    int status;
    std::string err;
};

// Runs "corkpane-tool <arguments>" in folder with only the given locale
// variables set, after the shell's setup; redirections are the shell's.
Outcome RunTool(const test_files::TempFolder& folder, const std::string& setup,
    const std::string& environment, const std::string& arguments)
{
    const std::string command = "cd '" + folder.Path().string() + "' && " + setup + "env -i " + environment
        + " '" + CORKPANE_TOOL + "' " + arguments + " 2> '" + (folder / "err").string() + "'";
    const int status = std::system(command.c_str());
    Outcome run { WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.Read(folder / "err") };
    std::filesystem::remove(folder / "err");
    return run;
}

TEST(ToolProcess, FailuresGiveTheReasonInTheLocalesEncoding)
{
    const test_files::TempFolder folder("tool");
    folder.Write("input.txt", "x\n");
    std::filesystem::create_directory(folder / "folder");
    std::string schedule;
    for (int row = 0; row < 40; ++row)
        schedule += Sjis("\"\",\"毎週水曜日\",\"ゴミ\"\r\n");
    folder.Write("schedule.txt", schedule);
    const std::string unreadable = "ファイル \"" + (folder / "folder").string() + "\" は開けません。";
    const struct {
        const char* setup;
        const char* environment;
        std::string arguments;
        std::string message; // the start of standard error, in UTF-8
    } cases[] = {
        { "", "LANG=C.UTF-8", "schedule check folder", "corkpane-tool schedule: " + unreadable },
        { "", "LANG=ja_JP.UTF-8", "mime folder", unreadable },
        { "", "", "schedule check folder", "corkpane-tool schedule: " + unreadable },
        { "", "LC_ALL=ja_JP.eucJP LANG=C.UTF-8", "mime folder", unreadable },
        // The standard streams: once aborted, once reported as a success.
        { "", "LANG=C.UTF-8", "codec jis2euc < folder", "標準入力は読み込めません。" },
        { "", "LANG=C.UTF-8", "schedule normalize < input.txt > /dev/full", "標準出力に書き込めません。" },
        // A save cut short by the file-size limit: the old file stays whole.
        { "ulimit -f 1; ", "LANG=C.UTF-8", "schedule edit schedule.txt set 1 2 x",
            "corkpane-tool schedule: ファイル \"" + (folder / "schedule.txt").string()
                + "\" を作成できません。" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const std::string env(c.environment);
        const std::string want = env.find("eucJP") != std::string::npos ? jconvert::sjis2euc(Sjis(c.message))
            : env.find("UTF-8") != std::string::npos                    ? c.message
                                                                        : Sjis(c.message);
        const Outcome run = RunTool(folder, c.setup, env, c.arguments);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.err.substr(0, want.size()), want) << run.err;
        EXPECT_GT(run.err.size(), want.size() + 1) << "no reason: " << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
    EXPECT_EQ(folder.Read(folder / "schedule.txt"), schedule);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 3U) << "input.txt, folder and schedule.txt; no temporaries";
}

TEST(ToolProcess, HelpIsTheUsageOnStandardOutputAndNoError)
{
    const test_files::TempFolder folder("tool");
    for (const char* asked : { "--help", "-h" }) {
        EXPECT_EQ(RunTool(folder, "", "", std::string(asked) + " > out").status, 0) << asked;
        EXPECT_NE(folder.Read("out").find("\n  receive"), std::string::npos) << "every command: " << asked;
    }
    EXPECT_EQ(RunTool(folder, "", "", "--helpx").status, 2);
}

} // namespace

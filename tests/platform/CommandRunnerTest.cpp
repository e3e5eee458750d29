#include "platform/CommandRunner.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sstream>

using namespace platform;

namespace {

TEST(ProcessRunner, CapturesBothOutputsAndEndsAProcessThatRunsTooLong)
{
    const auto started = std::chrono::steady_clock::now();
    ProcessRunner quick(std::chrono::milliseconds(300));
    const CommandResult both = quick.Run({ "sh", "-c", "echo out; echo err >&2; exit 3" });
    EXPECT_EQ(3, both.exitCode);
    EXPECT_EQ("out\n", both.output);
    EXPECT_EQ("err\n", both.errorOutput);
    // Still writing, and running without any output left open.
    for (const char* script : { "while :; do sleep 1; done", "exec >&- 2>&-; sleep 30" })
        EXPECT_EQ(124, quick.Run({ "sh", "-c", script }).exitCode) << script;
    const CommandResult missing = quick.Run({ "no-such-program-here" });
    EXPECT_EQ(127, missing.exitCode);
    EXPECT_NE(0, missing.startError);
    EXPECT_EQ(128 + SIGTERM, quick.Run({ "sh", "-c", "kill -TERM $$" }).exitCode);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

TEST(ProcessRunner, IsDoneWhenTheProgramExitsAndEndsWhatItLeftRunning)
{
    // A helper that prints, starts a daemon holding its output open (one in
    // its group, one that left it with setsid) and exits: the run is over at
    // once, with what it printed, and the daemons are gone.
    RunOptions helper;
    helper.timeLimit = std::chrono::seconds(20);
    helper.endOrphans = true;
    ProcessRunner runner(helper);
    const auto started = std::chrono::steady_clock::now();
    const CommandResult result = runner.Run({ "sh", "-c",
        "echo token; sleep 30 & echo $! >&2; setsid sleep 31 & echo $! >&2; sleep 0.1; exit 0" });
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_EQ(0, result.exitCode);
    EXPECT_EQ("token\n", result.output);
    std::istringstream pids(result.errorOutput);
    int count = 0;
    for (pid_t pid = 0; pids >> pid; ++count)
        EXPECT_NE(0, ::kill(pid, 0)) << "process " << pid << " still runs";
    EXPECT_EQ(2, count) << result.errorOutput;

    // Standard input as given; a program that does not read it is no
    // hindrance.
    RunOptions options;
    options.input = "given on standard input";
    EXPECT_EQ("given on standard input", ProcessRunner(options).Run({ "cat" }).output);
    EXPECT_EQ("x\n", ProcessRunner(options).Run({ "echo", "x" }).output);
    // Limits the program runs under.
    options.input = {};
    options.cpuSeconds = 1;
    EXPECT_EQ(128 + SIGXCPU, ProcessRunner(options).Run({ "sh", "-c", "while :; do :; done" }).exitCode);
}

TEST(SplitCommandLine, WordsAsAShellWouldQuoteThemWithoutOne)
{
    using Words = std::vector<std::string>;
    bool unclosed = false;
    EXPECT_EQ(SplitCommandLine(" oama  access\tu@example.jp ", unclosed),
        (Words { "oama", "access", "u@example.jp" }));
    EXPECT_EQ(SplitCommandLine("a' b $HOME'c \"d \\\" \\\\ e\" f\\ g ;| 'it'\\''s'", unclosed),
        (Words { "a b $HOMEc", "d \" \\ e", "f g", ";|", "it's" }));
    EXPECT_FALSE(unclosed);
    for (const char* open : { "a 'b", "a \"b" }) {
        SplitCommandLine(open, unclosed);
        EXPECT_TRUE(unclosed) << open;
    }
}

} // namespace

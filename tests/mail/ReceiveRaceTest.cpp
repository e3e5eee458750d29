// Two reception runs at once on one folder, as a logon run and the daily
// timer, or two logins, would start them: each in its own process, each
// receiving a different memo mail. Neither may lose the other's mail.

#include "CommandRegistry.h"
#include "DovecotServer.h"
#include "app/PasswordScrambler.h"
#include "common/SjisLiteral.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// corkpane-tool receive in a child process of its own; its exit status.
pid_t StartReception(const std::filesystem::path& folder, int port)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    std::istringstream in;
    std::ostringstream out, err;
    tool::Io io { in, out, err };
    const int status = tool::CommandRegistry::Instance().Run(
        { "receive", "--port", std::to_string(port), "--dir", folder.string() }, io);
    ::_exit(status);
}

int ExitStatus(pid_t child)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ReceiveRace, TwoRunsOnOneFolderLoseNoMail)
{
    constexpr int kRounds = 30;
    mailtest::DovecotServer first, second;
    first.AddUser("u", "pw", {});
    second.AddUser("u", "pw", {});
    ASSERT_EQ(first.Start(), "") << "the Dovecot test server is required";
    ASSERT_EQ(second.Start(), "") << "the Dovecot test server is required";

    const test_files::TempFolder folder("race");
    folder.Write("corkpane.ini",
        "POP3Host1=127.0.0.1\r\nUser1=u\r\nPassWord1=" + app::ScramblePassword("pw")
            + Sjis("\r\nキーワード１=メモ\r\n"));
    folder.Write("memo.txt", "");
    const std::string subject = "Subject: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?=\r\n\r\n";

    int kept = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string a = "first " + std::to_string(round) + " end";
        const std::string b = "second " + std::to_string(round) + " end";
        first.Deliver("u", subject + a + "\r\n");
        second.Deliver("u", subject + b + "\r\n");
        const pid_t one = StartReception(folder.Path(), first.port());
        const pid_t two = StartReception(folder.Path(), second.port());
        EXPECT_EQ(ExitStatus(one), 0) << "round " << round;
        EXPECT_EQ(ExitStatus(two), 0) << "round " << round;
        const std::string memo = folder.Read("memo.txt");
        kept += (memo.find(a + "\r\n") != std::string::npos) + (memo.find(b + "\r\n") != std::string::npos);
    }
    EXPECT_EQ(kept, 2 * kRounds);
    RecordProperty("mails_kept", kept);
    std::cout << "mails kept: " << kept << " of " << 2 * kRounds << '\n';
}

} // namespace

// corkpane-tool receive, run in-process through the command registry in a
// folder of its own.

#include "CommandRegistry.h"
#include "DovecotServer.h"
#include "FakePop3Server.h"
#include "MailboxServer.h"
#include "app/PasswordScrambler.h"
#include "common/FolderNames.h"
#include "common/SjisLiteral.h"
#include "common/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class ReceiveCommand : public testing::Test {
protected:
    void SetUp() override { fs::current_path(folder_.Path()); }
    void TearDown() override { fs::current_path(previous_); }

    int Run(const tool::Args& args)
    {
        std::istringstream in;
        tool::Io io { in, out_, err_ };
        tool::Args argv { "receive" };
        argv.insert(argv.end(), args.begin(), args.end());
        return tool::CommandRegistry::Instance().Run(argv, io);
    }

    test_files::TempFolder folder_ { "receive" };
    fs::path previous_ = fs::current_path();
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(ReceiveCommand, OverridesServerAndKeepsMemoOfAFailedRun)
{
    const std::string memoWord = Sjis("メモ");
    mailtest::FakePop3Server server({ "+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 2\r\n",
                                        "+OK\r\nSubject: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?=\r\n\r\n.\r\n",
                                        "+OK\r\n\r\n\x1b$B5mF}$rGc$&\x1b(B\r\n.\r\n", "+OK\r\nSubj" },
        mailtest::FakePop3Server::After::Close);
    // The stored server is unusable; the options replace it for this run.
    std::ofstream("corkpane.ini", std::ios::binary)
        << "POP3Host1=no-such-host.invalid\r\nUser1=u\r\nPassWord1=" << app::ScramblePassword("pw")
        << Sjis("\r\nPOP3Port1=1\r\nキーワード１=") << memoWord << "\r\n";
    std::ofstream("memo.txt", std::ios::binary) << "old\n";

    EXPECT_EQ(Run({ "--host", "127.0.0.1", "--port", std::to_string(server.port()) }), 1);
    EXPECT_EQ(server.Transcript(), "CAPA\r\nUSER u\r\nPASS pw\r\nSTAT\r\nTOP 1 0\r\nRETR 1\r\nTOP 2 0\r\n");
    const std::string milk = Sjis("牛乳を買う");
    EXPECT_EQ(out_.str(),
        Sjis("Status>接続中\nStatus>接続完了\nメール件数2\nwwwwwwwwwwwwwwwwwwwwwwwwwwwww\n件名:") + memoWord
            + "\n" + milk + "\nwwwwwwwwwwwwwwwwwwwwwwwwwwwww\n"
            + Sjis("エラーのため受信を中止しました: 接続が閉じられました。\n"));
    EXPECT_EQ(err_.str(), Sjis("接続が閉じられました。\n"));
    EXPECT_EQ(folder_.Read("memo.txt"), "old\r\n" + milk + "\r\n");
}

TEST_F(ReceiveCommand, StoredSecurityChoiceAndItsOverride)
{
    const struct {
        std::string stored;
        tool::Args args;
        std::string transcript;
    } cases[] = {
        { "1", {}, "CAPA\r\nSTLS\r\nQUIT\r\n" },
        { "1", { "--security", "none" }, "CAPA\r\nUSER u\r\nQUIT\r\n" },
        { "0", { "--security", "starttls" }, "CAPA\r\nSTLS\r\nQUIT\r\n" },
        { "", {}, "CAPA\r\nUSER u\r\nQUIT\r\n" },
    };
    for (const auto& c : cases) {
        mailtest::FakePop3Server server({ "+OK\r\n", "-ERR refused\r\n" });
        std::ofstream("corkpane.ini", std::ios::binary)
            << "POP3Host1=127.0.0.1\r\nUser1=u\r\nPOP3Port1=" << server.port()
            << "\r\nPOP3Security1=" << c.stored << "\r\n";
        err_.str("");
        EXPECT_EQ(Run(c.args), 1) << c.stored;
        EXPECT_EQ(server.Transcript(), c.transcript) << c.stored;
        EXPECT_EQ(err_.str(), "refused\n") << c.stored;
    }

    // The extra CA file is read before any contact.
    err_.str("");
    out_.str("");
    EXPECT_EQ(Run({ "--security", "tls", "--ca-file", "no-such-ca.pem" }), 1);
    EXPECT_EQ(err_.str(), Sjis("CA 証明書ファイルを読み込めません: no-such-ca.pem\n"));
    EXPECT_EQ(out_.str(),
        Sjis("エラーのため受信を中止しました: CA 証明書ファイルを読み込めません: no-such-ca.pem\n"));
}

// The stored MIME setting decides how the subject and body are read: a
// UTF-8 memo mail is a memo only with it on.
TEST_F(ReceiveCommand, StoredMimeSetting)
{
    const std::string top = "+OK\r\nSubject: =?UTF-8?B?44Oh44Oi?=\r\n\r\n.\r\n"; // メモ
    const std::string retr = "+OK\r\nSubject: x\r\nContent-Type: text/plain; charset=utf-8\r\n"
                             "Content-Transfer-Encoding: base64\r\n\r\n54mb5Lmz\r\n.\r\n"; // 牛乳
    const struct {
        std::string stored;
        std::vector<std::string> replies;
        std::string memo;
    } cases[] = {
        { Sjis("MIME解読=1\r\n"), { "+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 1\r\n", top, retr, "+OK\r\n" },
            Sjis("牛乳\r\n") },
        { "", { "+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 1\r\n", top, "+OK\r\n" }, "" },
    };
    for (const auto& c : cases) {
        mailtest::FakePop3Server server(c.replies);
        std::ofstream("corkpane.ini", std::ios::binary)
            << "POP3Host1=127.0.0.1\r\nUser1=u\r\nPOP3Port1=" << server.port()
            << Sjis("\r\nキーワード１=メモ\r\n") << c.stored;
        std::ofstream("memo.txt", std::ios::binary) << "";
        EXPECT_EQ(Run({}), 0) << c.stored << err_.str();
        EXPECT_EQ(folder_.Read("memo.txt"), c.memo) << c.stored;
    }
}

TEST_F(ReceiveCommand, RejectsBadArguments)
{
    for (const tool::Args& args : { tool::Args { "--port", "0" }, tool::Args { "--port", "70000" },
             tool::Args { "--port", "x1" }, tool::Args { "--host" }, tool::Args { "extra" },
             tool::Args { "--security", "ssl" }, tool::Args { "--security" }, tool::Args { "--ca-file" },
             tool::Args { "--auth", "cram-md5" }, tool::Args { "--auth" }, tool::Args { "--token-command" } })
        EXPECT_EQ(Run(args), 2) << args.back();
    EXPECT_FALSE(fs::exists("memo.txt"));
}

// With the memory on, a memo line deleted between runs stays deleted: the
// memory file is written after the memo. The sign-in options replace the
// stored ones.
TEST_F(ReceiveCommand, RemembersAcrossRunsAndSignsInWithAToken)
{
    const std::string mailbox = "Subject: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?=\n\nmilk\n";
    // One port for both runs: the memory belongs to the account.
    const int port = mailtest::UnusedLoopbackPort();
    for (const std::string memo : { "", "other\r\n" }) {
        mailtest::MailboxServer server(
            { .messages = { mailbox }, .capa = mailtest::MailboxServer::kNoPipelining, .port = port });
        std::ofstream("corkpane.ini", std::ios::binary)
            << "POP3Host1=127.0.0.1\r\nUser1=u\r\nPOP3Remember1=1\r\nPOP3Port1=" << port
            << Sjis("\r\nキーワード１=メモ\r\n");
        std::ofstream("memo.txt", std::ios::binary) << memo;
        EXPECT_EQ(Run({ "--auth", "xoauth2", "--token-command", "echo tok" }), 0) << err_.str();
        EXPECT_EQ(folder_.Read("memo.txt"), memo.empty() ? "milk\r\n" : memo);
        EXPECT_EQ(server.Transcript().rfind("CAPA\r\nAUTH XOAUTH2 ", 0), 0u);
    }
    const std::vector<std::string> files = test_files::FolderNames(folder_.Path());
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[2].rfind("received-", 0), 0u);
    EXPECT_EQ(folder_.Read(files[2]),
        "# u@127.0.0.1:" + std::to_string(port) + "\r\n" + mailtest::MailboxServer::UniqueId(mailbox)
            + "\r\n");
}

// An IMAP account as the settings name it: the first run reads the folder,
// the memory keeps its UIDVALIDITY and highest UID, the next run fetches only
// what came since.
TEST_F(ReceiveCommand, ImapAccountReadsOnlyWhatIsNewAgainstItsMemory)
{
    mailtest::DovecotServer server;
    server.EnableImap();
    server.AddUser("u", "pw", { Sjis("Subject: hello\n\nnot a memo\n"), "Subject: memo one\n\nmilk\n" });
    ASSERT_EQ(server.Start(), "") << "the Dovecot test server is required";
    std::ofstream("corkpane.ini", std::ios::binary)
        << "POP3Host1=127.0.0.1\r\nUser1=u\r\nPassWord1=" << app::ScramblePassword("pw", {})
        << "\r\nPOP3Remember1=1\r\nPOP3Protocol1=imap\r\nPOP3Port1=0\r\n"
        << Sjis("キーワード１=memo\r\n");
    // No port in the file: the one given here.
    ASSERT_EQ(Run({ "--port", std::to_string(server.imapPort()) }), 0) << err_.str();
    EXPECT_EQ(folder_.Read("memo.txt"), "milk\r\n");
    const std::vector<std::string> files = test_files::FolderNames(folder_.Path());
    ASSERT_EQ(files.size(), 3u);
    const std::string memory = folder_.Read(files[2]);
    EXPECT_EQ(
        memory.rfind("# u@127.0.0.1:" + std::to_string(server.imapPort()) + "/INBOX\r\nUIDVALIDITY ", 0), 0u)
        << memory;
    EXPECT_NE(memory.find("\r\nUID 2\r\n"), std::string::npos) << memory;

    server.Deliver("u", "Subject: memo two\n\nbread\n");
    out_.str("");
    ASSERT_EQ(Run({ "--port", std::to_string(server.imapPort()) }), 0) << err_.str();
    EXPECT_EQ(folder_.Read("memo.txt"), "milk\r\nbread\r\n");
    // Only the new mail's subject was read this time.
    EXPECT_EQ(out_.str().find(Sjis("件名:hello")), std::string::npos) << out_.str();
    EXPECT_NE(folder_.Read(files[2]).find("\r\nUID 3\r\n"), std::string::npos);
}

} // namespace

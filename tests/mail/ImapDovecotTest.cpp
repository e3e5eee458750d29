// IMAP reception end to end against a real Dovecot IMAP server on loopback:
// new mail found by UID, the memory across passes and a renumbered folder,
// a Japanese folder, every sign-in method, TLS and STARTTLS, and IDLE.

#include "DovecotServer.h"
#include "IntrospectionEndpoint.h"
#include "LogLines.h"
#include "TestCertificates.h"
#include "common/SjisLiteral.h"
#include "mail/ImapReceive.h"
#include "mail/MailError.h"
#include "mail/TextReceiveWindow.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace mailtest::lines;
using Log = std::vector<std::string>;
using mail::ImapClient;
using mail::ImapMemory;
using Clock = std::chrono::steady_clock;

const std::string kMemoWord = "=?ISO-2022-JP?B?GyRCJWElYhsoQg==?="; // メモ
const std::string kMilk = Sjis("牛乳を買う");
const std::string kFolderOpened = Sjis("フォルダー「INBOX」を開きました。");

const std::vector<std::string> kInbox {
    "Subject: " + kMemoWord + "\nContent-Type: text/plain; charset=ISO-2022-JP\n\n\x1b$B5mF}$rGc$&\x1b(B\n",
    "Subject: other\n\nnot a memo\n",
    Sjis("Subject: =?ISO-2022-JP?B?GyRCJGEkYhsoQg==?=\n\n電話する\n"),
};

struct Pass {
    Log log;
    std::string memo;
    std::string error;
    ImapMemory memory;
};

mail::ReceiveConfig Config(int port, const std::string& user, const std::string& password)
{
    mail::ReceiveConfig config;
    config.host = "127.0.0.1";
    config.port = port;
    config.user = user;
    config.password = password;
    config.readTimeoutMs = 5000;
    config.keyword1 = kMemo;
    config.keyword2 = kMemo2;
    return config;
}

Pass Receive(const mail::ReceiveConfig& config, const std::string& memo, ImapMemory memory = {},
    const std::string& folder = "")
{
    mail::TextReceiveWindow window(memo);
    mail::ImapReceive receive(config, folder, memory, window);
    Pass pass;
    try {
        receive.Run();
    } catch (const mail::MailError& e) {
        pass.error = e.what();
    }
    EXPECT_TRUE(window.receiveEnabled());
    pass.log = window.log();
    pass.memo = window.memo();
    pass.memory = receive.Memory();
    return pass;
}

class ImapDovecot : public testing::Test {
protected:
    void SetUp() override
    {
        server_.EnableImap();
        server_.AddUser("memo", "secret 1", kInbox);
        // メモ帳 as modified UTF-7.
        server_.AddFolder("memo", "&MOEw4l4z-", { "Subject: " + kMemoWord + "\n\nin the folder\n" });
        endpoint_ = std::make_unique<mailtest::IntrospectionEndpoint>(
            std::map<std::string, std::string> { { "good-token", "memo" }, { longToken_, "memo" } });
        server_.EnableOAuth2(endpoint_->Url());
        ASSERT_EQ(server_.Start(), "") << "the Dovecot test server with IMAP is required";
    }

    const std::string longToken_ = "ya29." + std::string(300, 'L');
    std::unique_ptr<mailtest::IntrospectionEndpoint> endpoint_;
    mailtest::DovecotServer server_;
};

TEST_F(ImapDovecot, NewMailByUidAcrossPasses)
{
    const mail::ReceiveConfig config = Config(server_.imapPort(), "memo", "secret 1");
    Pass first = Receive(config, "old");
    EXPECT_EQ(first.error, "");
    EXPECT_EQ(first.log,
        (Log { kConnecting, kConnected, kFolderOpened, kCount + "3", kSep, kSubject + kMemo, kMilk, kSep,
            kSubject + "other", kSep, kSubject + kMemo2, Sjis("電話する"), kSep, kDisconnecting,
            kDisconnected }));
    EXPECT_EQ(first.memo, "old\r\n" + kMilk + "\r\n" + Sjis("電話する") + "\r\n");
    EXPECT_NE(first.memory.uidValidity, 0u);
    EXPECT_EQ(first.memory.highestUid, 3u);

    // Nothing new: the folder's UIDNEXT says so; nothing is fetched.
    Pass second = Receive(config, first.memo, first.memory);
    EXPECT_EQ(second.log,
        (Log { kConnecting, kConnected, kFolderOpened, kCount + "0", kSep, kDisconnecting, kDisconnected }));
    EXPECT_EQ(second.memory, first.memory);

    server_.Deliver("memo", "Subject: " + kMemoWord + "\n\nbread\n");
    Pass third = Receive(config, second.memo, second.memory);
    EXPECT_EQ(third.log,
        (Log { kConnecting, kConnected, kFolderOpened, kCount + "1", kSep, kSubject + kMemo, "bread", kSep,
            kDisconnecting, kDisconnected }));
    EXPECT_EQ(third.memo, first.memo + "bread\r\n");
    EXPECT_EQ(third.memory.highestUid, 4u);

    // A renumbered folder is read whole again; the memo's own check keeps
    // every body from coming twice. Nothing was marked seen on the way.
    server_.RenumberInbox("memo");
    Pass fourth = Receive(config, third.memo, third.memory);
    EXPECT_EQ(fourth.error, "");
    ASSERT_GE(fourth.log.size(), 5u);
    EXPECT_EQ(fourth.log[3],
        Sjis("フォルダーのメール番号 (UIDVALIDITY) が振り直されたため、すべてのメールを読み直します。"));
    EXPECT_EQ(fourth.log[4], kCount + "4");
    EXPECT_EQ(fourth.memo, third.memo);
    EXPECT_NE(fourth.memory.uidValidity, third.memory.uidValidity);
    EXPECT_EQ(fourth.memory.highestUid, 4u);
    EXPECT_EQ(server_.InboxFlags("memo"), "");
}

TEST_F(ImapDovecot, JapaneseFolder)
{
    const mail::ReceiveConfig config = Config(server_.imapPort(), "memo", "secret 1");
    Pass pass = Receive(config, "", {}, Sjis("メモ帳"));
    EXPECT_EQ(pass.error, "");
    EXPECT_EQ(pass.memo, "in the folder\r\n");
    EXPECT_EQ(pass.log[2], Sjis("フォルダー「メモ帳」を開きました。"));

    Pass missing = Receive(config, "", {}, Sjis("無い"));
    EXPECT_EQ(missing.error.rfind(Sjis("フォルダー「無い」を開けません: "), 0), 0u) << missing.error;
}

TEST_F(ImapDovecot, SignInMethods)
{
    using mail::Pop3Auth;
    const struct {
        Pop3Auth auth;
        std::string secret; // the password, or the token the command prints
        std::string error;
    } cases[] = {
        { Pop3Auth::User, "secret 1", "" },
        { Pop3Auth::User, "wrong", "[AUTHENTICATIONFAILED] Authentication failed." },
        { Pop3Auth::Plain, "secret 1", "" },
        { Pop3Auth::XOAuth2, "good-token", "" },
        { Pop3Auth::XOAuth2, longToken_, "" },
        { Pop3Auth::OAuthBearer, "good-token", "" },
        { Pop3Auth::OAuthBearer, "expired-token",
            "[AUTHENTICATIONFAILED] Authentication failed.\r\n"
                + Sjis(
                    "アクセストークンが受け付けられませんでした。トークン取得コマンドが有効なトークンを出力"
                    "しているか、ユーザー名がアカウントのメールアドレスと合っているか確かめてください。") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.auth));
        SCOPED_TRACE(c.secret.substr(0, 12));
        mail::ReceiveConfig config = Config(server_.imapPort(), "memo", c.secret);
        config.auth = c.auth;
        config.tokenCommand = "echo " + c.secret;
        const Pass pass = Receive(config, "");
        if (c.auth == Pop3Auth::User && !c.error.empty())
            EXPECT_EQ(pass.error.rfind(c.error, 0), 0u) << pass.error;
        else
            EXPECT_EQ(pass.error, c.error);
        EXPECT_EQ(pass.memo, c.error.empty() ? kMilk + "\r\n" + Sjis("電話する") + "\r\n" : "");
        for (const std::string& line : pass.log)
            EXPECT_EQ(line.find(c.secret), std::string::npos);
    }
}

TEST_F(ImapDovecot, IdleWakesOnNewMailAndFailsOnDrop)
{
    mail::TextReceiveWindow window;
    mail::ImapReceive receive(Config(server_.imapPort(), "memo", "secret 1"), "", {}, window);
    receive.Run(true);
    ASSERT_TRUE(receive.Connected());
    ASSERT_TRUE(receive.CanIdle());

    std::thread delivery([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        server_.Deliver("memo", "Subject: " + kMemoWord + "\n\npushed\n");
    });
    const auto start = Clock::now();
    EXPECT_EQ(receive.WaitForNewMail(start + std::chrono::seconds(20), -1), ImapClient::Wake::NewMail);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    delivery.join();
    receive.Run(true);
    EXPECT_EQ(window.memo(), kMilk + "\r\n" + Sjis("電話する") + "\r\npushed\r\n");
    EXPECT_EQ(receive.Memory().highestUid, 4u);

    // The caller's descriptor and the deadline end the wait too.
    int wake[2];
    ASSERT_EQ(::pipe(wake), 0);
    ASSERT_EQ(::write(wake[1], "x", 1), 1);
    EXPECT_EQ(
        receive.WaitForNewMail(Clock::now() + std::chrono::seconds(20), wake[0]), ImapClient::Wake::Woken);
    ::close(wake[0]);
    ::close(wake[1]);
    EXPECT_EQ(receive.WaitForNewMail(Clock::now() + std::chrono::milliseconds(200), -1),
        ImapClient::Wake::Deadline);

    // A connection that drops while idling is a clear error, and closed.
    std::thread stop([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        server_.DropImapSessions();
    });
    std::string error;
    try {
        receive.WaitForNewMail(Clock::now() + std::chrono::seconds(20), -1);
    } catch (const mail::MailError& e) {
        error = e.what();
    }
    stop.join();
    EXPECT_EQ(error, Sjis("接続が閉じられました。"));
    EXPECT_FALSE(receive.Connected());
}

class ImapDovecotTls : public testing::Test { };

TEST_F(ImapDovecotTls, ImplicitTlsAndStartTls)
{
    const mailtest::TestCertificates& certs = mailtest::TestCertificates::Get();
    ASSERT_EQ(certs.error, "") << "the openssl command is required";
    mailtest::DovecotServer server;
    server.EnableImap();
    server.AddUser("memo", "secret", kInbox);
    server.EnableTls(certs.good.cert, certs.good.key, true);
    ASSERT_EQ(server.Start(), "") << "the Dovecot test server with IMAP is required";
    const struct {
        mail::Pop3Security security;
        int port;
        std::string error;
    } cases[] = {
        { mail::Pop3Security::Tls, server.imapTlsPort(), "" },
        { mail::Pop3Security::StartTls, server.imapPort(), "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.security));
        mail::ReceiveConfig config = Config(c.port, "memo", "secret");
        config.security = c.security;
        config.caFile = certs.caFile;
        const Pass pass = Receive(config, "");
        EXPECT_EQ(pass.error, c.error);
        EXPECT_EQ(pass.memo, c.error.empty() ? kMilk + "\r\n" + Sjis("電話する") + "\r\n" : "");
    }
    // A certificate the system does not trust ends the pass before the login.
    mail::ReceiveConfig untrusted = Config(server.imapTlsPort(), "memo", "secret");
    untrusted.security = mail::Pop3Security::Tls;
    EXPECT_EQ(
        Receive(untrusted, "").error, Sjis("サーバー証明書を検証できません（信頼されていない証明書）。"));
}

} // namespace

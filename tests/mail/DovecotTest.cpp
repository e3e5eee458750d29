// Reception end to end against a real Dovecot POP3 server on loopback.

#include "DovecotServer.h"
#include "IntrospectionEndpoint.h"
#include "LogLines.h"
#include "MemoMails.h"
#include "RunReception.h"
#include "common/SjisLiteral.h"
#include "mail/MailError.h"
#include "mail/ReceiveRun.h"
#include "mail/TextReceiveWindow.h"
#include "mail/Texts.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace mailtest::lines;

using Log = std::vector<std::string>;

// Shift_JIS texts of the mailbox below.
const std::string kMilk = Sjis("牛乳を買う");
const std::string kRoom = Sjis("会議室Ａ");
const std::string kBring = Sjis("資料を持参");
const std::string kPhone = Sjis("電話する");
const std::string kMeeting = Sjis("メモ： 会議は3時");
const std::string kAttached = Sjis("メモ：添付");

const std::string kMemoWord = "=?ISO-2022-JP?B?GyRCJWElYhsoQg==?="; // メモ

// A mailbox of messages shaped as mail programs send them.
std::vector<std::string> RealWorldMailbox()
{
    return {
        // 1: one encoded-word, JIS body.
        "From: Taro <taro@example.jp>\nTo: memo@example.jp\nSubject: " + kMemoWord
            + "\nDate: Mon, 7 Dec 2026 09:00:00 +0900\nMIME-Version: 1.0\n"
              "Content-Type: text/plain; charset=ISO-2022-JP\nContent-Transfer-Encoding: 7bit\n\n"
              "\x1b$B5mF}$rGc$&\x1b(B\n",
        // 2: subject folded into two encoded-words, EUC-JP body.
        "From: hanako@example.jp\nSubject: =?ISO-2022-JP?B?GyRCJWElYiEnGyhC?=\n"
        " =?ISO-2022-JP?B?GyRCMnE1RCRPGyhCMxskQjt+GyhC?=\nContent-Type: text/plain; charset=EUC-JP\n\n"
        "\xb2\xf1\xb5\xc4\xbc\xbc\xa3\xc1\n\xbb\xf1\xce\xc1\xa4\xf2\xbb\xfd\xbb\xb2\n",
        // 3: a reply: the keyword is not at the start.
        "From: a@example.jp\nSubject: =?ISO-2022-JP?B?UmU6IBskQiVhJWIbKEI=?=\n\nno memo\n",
        // 4: the second keyword, Shift_JIS body.
        Sjis("From: b@example.jp\nSubject: =?ISO-2022-JP?B?GyRCJGEkYhsoQg==?=\nContent-Type: text/plain; "
             "charset=Shift_JIS\nContent-Transfer-Encoding: 8bit\n\n電話する\n"),
        // 5: multipart with a preamble.
        "Subject: " + kMemoWord
            + "\nMIME-Version: 1.0\nContent-Type: "
              "multipart/alternative;\n\tboundary=\"----=_Part_12_3456.789\"\n\n"
              "This is a multi-part message in MIME format.\n------=_Part_12_3456.789\n"
              "Content-Type: text/plain; "
              "charset=ISO-2022-JP\n\n\x1b$BK:$l$:$K\x1b(B\n------=_Part_12_3456.789\n"
              "Content-Type: text/html\n\n<p>html</p>\n------=_Part_12_3456.789--\n",
        // 6: a Base64 message with a boundary: no plain body at all.
        "Subject: " + kMemoWord
            + "\nContent-Type: multipart/mixed; boundary=\"b64\"\nContent-Transfer-Encoding: base64\n\n"
              "GyRCNW1GfSRyR2MkJhsoQg==\n",
        // 7: a uuencoded attachment after the text.
        "Subject: =?ISO-2022-JP?B?GyRCJWElYiEnRTpJVRsoQg==?=\n\n\x1b$B;qNA$r;};2\x1b(B\n\nbegin 644 "
        "note.txt\n"
        "M36EN=71E<R!O9B!T:&4@;65E=&EN9RP@<V5C;VYD(&9L;V]R+\"!R;V]M($$Z\n/(&)R:6YG('-L:61E<RX*\n`\nend\n",
        // 8: no Subject at all.
        "From: c@example.jp\nTo: memo@example.jp\n\nhello\n",
        // 9: lines the server has to dot-stuff.
        "Subject: " + kMemoWord + "\n\n.\n..two\n.single\nok.\n",
        // 10: a Base64 body without boundary, not a memo.
        "Subject: photo\nContent-Type: text/plain\nContent-Transfer-Encoding: "
        "base64\n\nGyRCNW1GfSRyR2MkJhsoQg==\n",
        // 11: a plain ASCII subject.
        "Subject: memo\n\nplain\n",
    };
}

using Result = mailtest::Reception;

Result Receive(int port, const std::string& user, const std::string& password, const std::string& memo,
    const std::string& keyword1 = kMemo, const std::string& keyword2 = kMemo2,
    const std::string& host = "127.0.0.1", bool decodeMime = false)
{
    mail::ReceiveConfig config = mailtest::LoopbackConfig(port, user, password);
    config.host = host;
    config.connectTimeoutMs = 5000;
    config.readTimeoutMs = 5000;
    config.keyword1 = keyword1;
    config.keyword2 = keyword2;
    config.decodeMime = decodeMime;
    return mailtest::RunReception(config, memo);
}

class Dovecot : public testing::Test {
protected:
    void SetUp() override
    {
        server_.AddUser("memo", "secret 1", RealWorldMailbox());
        server_.AddUser("empty", "pw", {});
        std::vector<std::string> many;
        for (int i = 1; i <= 300; ++i) {
            const bool memo = i % 30 == 0;
            many.push_back("Subject: " + (memo ? kMemoWord : "note " + std::to_string(i)) + "\n\nitem "
                + std::to_string(i) + "\n");
        }
        server_.AddUser("long", "pw", many);
        std::vector<std::string> mime;
        for (const mailtest::MemoMail& m : mailtest::MemoMails())
            mime.push_back(mailtest::ReadMemoMail(m.file));
        mime.push_back("Subject: " + kMemoWord + "\n\nafter the fault\n");
        server_.AddUser("mime", "pw", mime);
        // Lines over the 16 KB limit: in a header before its subject, and in
        // a memo mail's body.
        const std::string longLine(20000, 'x');
        server_.AddUser("long-lines", "pw",
            { "X-Long: " + longLine + "\nSubject: " + kMemoWord + "\n\nlost\n",
                "Subject: " + kMemoWord + "\n\nfirst\n" + longLine + "\n",
                "Subject: " + kMemoWord + "\n\nafter\n" });
        const std::string failure = server_.Start();
        ASSERT_EQ(failure, "") << "the Dovecot test server is required";
    }

    mailtest::DovecotServer server_;
};

TEST_F(Dovecot, RealWorldMailbox)
{
    const std::string bodies = kMilk + "\r\n" + kRoom + "\r\n" + kBring + "\r\n" + kPhone
        + "\r\nThis is a multi-part message in MIME format.\r\n" + kBring
        + "\r\n.\r\n..two\r\n.single\r\nok.\r\n";
    const Log expected {
        kConnecting,
        kConnected,
        kCount + "11",
        kSep, //
        kSubject + kMemo,
        kMilk,
        kSep, // 1
        kSubject + kMeeting,
        kRoom,
        kBring,
        kSep, // 2
        kSubject + "Re: " + kMemo,
        kSep, // 3
        kSubject + kMemo2,
        kPhone,
        kSep, // 4
        kSubject + kMemo,
        "This is a multi-part message in MIME format.",
        kSep, // 5
        kSubject + kMemo,
        kSep, // 6
        kSubject + kAttached,
        kBring,
        "",
        kSep, // 7
        kSubject,
        kSep, // 8
        kSubject + kMemo,
        ".",
        "..two",
        ".single",
        "ok.",
        kSep, // 9
        kSubject + "photo",
        kSep, // 10
        kSubject + "memo",
        kSep, // 11
        kDisconnecting,
        kDisconnected,
    };

    Result first = Receive(server_.port(), "memo", "secret 1", "old line");
    EXPECT_EQ(first.error, "");
    EXPECT_EQ(first.log, expected);
    // Message 7's body is its text line and the blank line before the block.
    EXPECT_EQ(first.memo,
        "old line\r\n" + kMilk + "\r\n" + kRoom + "\r\n" + kBring + "\r\n" + kPhone
            + "\r\nThis is a multi-part message in MIME format.\r\n" + kBring
            + "\r\n\r\n.\r\n..two\r\n.single\r\nok.\r\n");

    // Messages stay on the server: the next run logs them again but the memo
    // already holds every body.
    Result second = Receive(server_.port(), "memo", "secret 1", first.memo);
    EXPECT_EQ(second.error, "");
    EXPECT_EQ(second.log, expected);
    EXPECT_EQ(second.memo, first.memo);

    // Without keywords nothing is a memo; the plain ASCII subject matches an
    // ASCII keyword in full.
    Result ascii = Receive(server_.port(), "memo", "secret 1", "", "memo", "");
    EXPECT_EQ(ascii.error, "");
    EXPECT_EQ(ascii.memo, "plain\r\n");
    Result none = Receive(server_.port(), "memo", "secret 1", "", "", "");
    EXPECT_EQ(none.memo, "");
    EXPECT_EQ(none.log.size(), 4u + 11u * 2u + 2u);
}

TEST_F(Dovecot, EmptyLongAndRefusedAccounts)
{
    Result empty = Receive(server_.port(), "empty", "pw", "", kMemo, kMemo2, "localhost");
    EXPECT_EQ(empty.error, "");
    EXPECT_EQ(empty.log,
        (Log { kResolving, kConnecting, kConnected, kCount + "0", kSep, kDisconnecting, kDisconnected }));

    Result many = Receive(server_.port(), "long", "pw", "");
    EXPECT_EQ(many.error, "");
    std::string memo;
    for (int i = 30; i <= 300; i += 30)
        memo += "item " + std::to_string(i) + "\r\n";
    EXPECT_EQ(many.memo, memo);
    ASSERT_EQ(many.log.size(), 4u + 300u * 2u + 10u + 2u);
    EXPECT_EQ(many.log[2], kCount + "300");
    EXPECT_EQ(many.log[4], kSubject + "note 1");

    // One bad mail no longer stops every run at it.
    Result lines = Receive(server_.port(), "long-lines", "pw", "");
    EXPECT_EQ(lines.error, "");
    EXPECT_EQ(lines.log,
        (Log { kConnecting, kConnected, kCount + "3", kSep, kSubject, kSep, kSubject + kMemo,
            Sjis("メールの行が長すぎるため受信しませんでした。"), kSep, kSubject + kMemo, "after", kSep,
            kDisconnecting, kDisconnected }));
    EXPECT_EQ(lines.memo, "after\r\n");

    Result refused = Receive(server_.port(), "memo", "wrong", "kept");
    EXPECT_EQ(refused.error, "[AUTH] Authentication failed.");
    EXPECT_EQ(
        refused.log, EndedBy(Log { kConnecting, kConnected, kDisconnecting, kDisconnected }, refused.error));
    EXPECT_EQ(refused.memo, "kept");
}

// With MIME reading on, every memo mail gives its text; a mail whose
// uuencoded block cannot be read logs why and the run goes on.
TEST_F(Dovecot, MemoMailsOfTodaysSenders)
{
    Log expected { kConnecting, kConnected, kCount + std::to_string(mailtest::MemoMails().size() + 1), kSep };
    std::string memo;
    for (const mailtest::MemoMail& m : mailtest::MemoMails()) {
        expected.push_back(kSubject + mailtest::Sjis(m.subject));
        if (m.unreadable)
            expected.push_back(mail::texts::kUnknownUuScheme);
        const std::string body = mailtest::Sjis(m.body);
        for (std::size_t start = 0; start < body.size();) {
            const std::size_t end = body.find("\r\n", start);
            expected.push_back(body.substr(start, end - start));
            start = end + 2;
        }
        expected.push_back(kSep);
        memo += body;
    }
    expected.insert(
        expected.end(), { kSubject + kMemo, "after the fault", kSep, kDisconnecting, kDisconnected });
    memo += "after the fault\r\n";

    Result on = Receive(server_.port(), "mime", "pw", "", kMemo, kMemo2, "127.0.0.1", true);
    EXPECT_EQ(on.error, "");
    EXPECT_EQ(on.log, expected);
    EXPECT_EQ(on.memo, memo);

    // Off: bodies as sent; the unreadable mail no longer stops the run either.
    Result off = Receive(server_.port(), "mime", "pw", "");
    EXPECT_EQ(off.error, "");
    EXPECT_EQ(off.memo, "This is a multi-part message in MIME format.\r\nafter the fault\r\n");
    EXPECT_NE(std::find(off.log.begin(), off.log.end(), mail::texts::kUnknownUuScheme), off.log.end());
}

// Token sign-in against Dovecot's oauth2 passdb, which asks a local
// introspection endpoint about each token: both methods, with the initial
// response and in two steps, and a refused token.
TEST(DovecotOAuth2, TokenMethods)
{
    const std::string shortToken = "good-token";
    const std::string longToken = "ya29." + std::string(300, 'L');
    mailtest::IntrospectionEndpoint endpoint({ { shortToken, "memo" }, { longToken, "memo" } });
    mailtest::DovecotServer server;
    server.AddUser("memo", "pw", { "Subject: " + kMemoWord + "\n\nmilk\n" });
    server.EnableOAuth2(endpoint.Url());
    ASSERT_EQ(server.Start(), "") << "the Dovecot test server is required";
    for (const mail::Pop3Auth auth : { mail::Pop3Auth::XOAuth2, mail::Pop3Auth::OAuthBearer }) {
        for (const std::string& token : { shortToken, longToken, std::string("expired-token") }) {
            SCOPED_TRACE(static_cast<int>(auth));
            SCOPED_TRACE(token.substr(0, 12));
            mail::ReceiveConfig config = mailtest::LoopbackConfig(server.port(), "memo", "");
            config.keyword1 = kMemo;
            config.auth = auth;
            config.tokenCommand = "echo " + token;
            const Result r = mailtest::RunReception(config, "");
            if (token == "expired-token") {
                EXPECT_EQ(r.error,
                    "[AUTH] Authentication failed.\r\n"
                        + Sjis("アクセストークンが受け付けられませんでした。トークン取得コマンドが有効なトー"
                               "クンを出力"
                               "しているか、ユーザー名がアカウントのメールアドレスと合っているか確かめてくだ"
                               "さい。"));
                EXPECT_EQ(r.memo, "");
            } else {
                EXPECT_EQ(r.error, "");
                EXPECT_EQ(r.memo, "milk\r\n");
            }
        }
    }
}

} // namespace

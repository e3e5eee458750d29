#include "mail/ReceiveRun.h"

#include "FakePop3Server.h"
#include "FullQueueListener.h"
#include "LogLines.h"
#include "MailboxServer.h"
#include "RunReception.h"
#include "common/SjisLiteral.h"
#include "mail/MailError.h"
#include "mail/TextReceiveWindow.h"
#include "platform/SystemErrorText.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace mailtest::lines;

using mailtest::FakePop3Server;
using After = FakePop3Server::After;
using Log = std::vector<std::string>;

// Expected texts, written out here on their own so that a wrong byte in the
// program's table shows up.
const std::string kFailed = Sjis("メールの受信に失敗しました。");
const std::string kClosed = Sjis("接続が閉じられました。");
const std::string kTooLong = Sjis("最大行の長さを超えました。");

const std::string kGreeting = "+OK ready\r\n";
const std::string kLogin = "CAPA\r\nUSER u\r\nPASS p w\r\n";
const std::string kMemoTop = "+OK\r\nSubject: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?=\r\n\r\n.\r\n";

using RunResult = mailtest::Reception;

RunResult Receive(int port, const std::string& memo = {}, int readTimeoutMs = 3000,
    std::string host = "127.0.0.1", int connectTimeoutMs = 3000, std::string password = "p w")
{
    mail::ReceiveConfig config;
    config.host = std::move(host);
    config.port = port;
    config.user = "u";
    config.password = std::move(password);
    config.keyword1 = kMemo;
    config.keyword2 = kMemo2;
    config.readTimeoutMs = readTimeoutMs;
    config.connectTimeoutMs = connectTimeoutMs;
    RunResult result = mailtest::RunReception(config, memo);
    EXPECT_TRUE(result.disabledWhileLogging || result.log.empty())
        << "the receive button stayed enabled during the run";
    return result;
}

struct FakeCase {
    const char* name;
    std::vector<std::string> replies;
    After after;
    std::string transcript;
    std::string error;
    Log log;
    std::string memoBefore = {};
    std::string memoAfter = {};
    int readTimeoutMs = 3000;
};

void PrintTo(const FakeCase& c, std::ostream* os)
{
    *os << c.name;
}

class FakeServerRun : public testing::TestWithParam<FakeCase> { };

TEST_P(FakeServerRun, TranscriptLogAndOutcome)
{
    const FakeCase& c = GetParam();
    FakePop3Server server(c.replies, c.after);
    RunResult r = Receive(server.port(), c.memoBefore, c.readTimeoutMs);
    EXPECT_EQ(server.Transcript(), c.transcript);
    EXPECT_FALSE(server.SawCommandAhead());
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.log, EndedBy(c.log, c.error));
    EXPECT_EQ(r.memo, c.memoAfter);
    EXPECT_TRUE(r.enabledAfter);
}

const Log kOpen { kConnecting, kConnected };

Log Join(std::initializer_list<Log> parts)
{
    Log all;
    for (const Log& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::string kLongName(16384 - 9, 'a'); // "Subject: " + this is the longest line allowed

INSTANTIATE_TEST_SUITE_P(Receive, FakeServerRun,
    testing::Values(FakeCase { "memo_then_other",
                        { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 2 300\r\n", kMemoTop,
                            "+OK 40 octets\r\nSubject: x\r\n\r\n..dot line\r\nplain\r\n.\r\n",
                            "+OK\r\nSubject: other\r\n\r\n.\r\n" },
                        After::Listen, kLogin + "STAT\r\nTOP 1 0\r\nRETR 1\r\nTOP 2 0\r\nQUIT\r\n", "",
                        Join({ kOpen,
                            { kCount + "2", kSep, kSubject + kMemo, ".dot line", "plain", kSep,
                                kSubject + "other", kSep },
                            { kDisconnecting, kDisconnected } }),
                        "old", "old\r\n.dot line\r\nplain\r\n" },
        FakeCase { "memo_already_in_memo",
            { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 1 9\r\n", kMemoTop, "+OK\r\n\r\nplain\r\n.\r\n" },
            After::Listen, kLogin + "STAT\r\nTOP 1 0\r\nRETR 1\r\nQUIT\r\n", "",
            Join({ kOpen,
                { kCount + "1", kSep, kSubject + kMemo, "plain", kSep, kDisconnecting, kDisconnected } }),
            "a\r\nplain\r\nb", "a\r\nplain\r\nb" },
        FakeCase { "blank_body_adds_nothing",
            { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 1 9\r\n", kMemoTop,
                "+OK\r\nSubject: x\r\n\r\n\r\n.\r\n" },
            After::Listen, kLogin + "STAT\r\nTOP 1 0\r\nRETR 1\r\nQUIT\r\n", "",
            Join(
                { kOpen, { kCount + "1", kSep, kSubject + kMemo, "", kSep, kDisconnecting, kDisconnected } }),
            "x", "x" },
        // The log shows a body line by line, a lone CR in a line ending one
        // too; the memo takes the body as it came.
        FakeCase { "lone_cr_in_body_starts_a_log_line",
            { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 1 9\r\n", kMemoTop, "+OK\r\n\r\nmilk\rbread\r\n.\r\n" },
            After::Listen, kLogin + "STAT\r\nTOP 1 0\r\nRETR 1\r\nQUIT\r\n", "",
            Join({ kOpen,
                { kCount + "1", kSep, kSubject + kMemo, "milk", "bread", kSep, kDisconnecting,
                    kDisconnected } }),
            "", "milk\rbread\r\n" },
        FakeCase { "retr_refused_goes_on",
            { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 1 9\r\n", kMemoTop, "-ERR no such message\r\n" },
            After::Listen, kLogin + "STAT\r\nTOP 1 0\r\nRETR 1\r\nQUIT\r\n", "",
            Join({ kOpen,
                { kCount + "1", kSep, kSubject + kMemo, kFailed, kSep, kDisconnecting, kDisconnected } }),
            "m", "m" },
        FakeCase { "stat_without_text_is_zero", { kGreeting, "+OK\r\n", "+OK\r\n", "+OK\r\n" }, After::Listen,
            kLogin + "STAT\r\nQUIT\r\n", "",
            Join({ kOpen, { kCount + "0", kSep, kDisconnecting, kDisconnected } }) },
        FakeCase { "line_at_limit",
            { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 1\r\n", "+OK\r\nSubject: " + kLongName + "\r\n.\r\n" },
            After::Listen, kLogin + "STAT\r\nTOP 1 0\r\nQUIT\r\n", "",
            Join({ kOpen,
                { kCount + "1", kSep, kSubject + kLongName, kSep, kDisconnecting, kDisconnected } }) },
        FakeCase { "greeting_refused", { "-ERR busy\r\n" }, After::Listen, "QUIT\r\n", "busy",
            Join({ kOpen, { kDisconnecting, kDisconnected } }) },
        FakeCase { "user_refused", { kGreeting, "-ERR unknown user\r\n" }, After::Listen,
            "CAPA\r\nUSER u\r\nQUIT\r\n", "unknown user",
            Join({ kOpen, { kDisconnecting, kDisconnected } }) },
        FakeCase { "pass_refused", { kGreeting, "+OK\r\n", "-ERR [AUTH] Authentication failed.\r\n" },
            After::Listen, kLogin + "QUIT\r\n", "[AUTH] Authentication failed.",
            Join({ kOpen, { kDisconnecting, kDisconnected } }) },
        FakeCase { "refusal_without_text", { kGreeting, "-ERR\r\n" }, After::Listen,
            "CAPA\r\nUSER u\r\nQUIT\r\n", "-ERR", Join({ kOpen, { kDisconnecting, kDisconnected } }) },
        FakeCase { "stat_refused", { kGreeting, "+OK\r\n", "+OK\r\n", "-ERR locked\r\n" }, After::Listen,
            kLogin + "STAT\r\nQUIT\r\n", "locked", Join({ kOpen, { kDisconnecting, kDisconnected } }) },
        FakeCase { "stat_not_a_number", { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 12x 5\r\n" }, After::Listen,
            kLogin + "STAT\r\nQUIT\r\n", Sjis("不正な STAT 応答:\n\"+OK 12x 5\""),
            Join({ kOpen, { kDisconnecting, kDisconnected } }) },
        FakeCase { "top_refused_after_count",
            { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 3 10\r\n", "-ERR no TOP\r\n" }, After::Listen,
            kLogin + "STAT\r\nTOP 1 0\r\nQUIT\r\n", "no TOP",
            Join({ kOpen, { kCount + "3", kSep, kDisconnecting, kDisconnected } }) },
        FakeCase { "unrecognised_reply", { kGreeting, "OK fine\r\n" }, After::Listen,
            "CAPA\r\nUSER u\r\nQUIT\r\n", "Unrecognized POP3 Response Header:\n\"OK fine\"",
            Join({ kOpen, { kDisconnecting, kDisconnected } }) },
        // A header line over the limit loses the rest of that header, not
        // the run: the mail has no subject left and is not a memo.
        FakeCase { "header_line_over_limit",
            { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 2\r\n",
                "+OK\r\nFrom: a\r\nSubject: " + kLongName + "a\r\nX: y\r\n.\r\n", kMemoTop,
                "+OK\r\n\r\nnext\r\n.\r\n" },
            After::Listen, kLogin + "STAT\r\nTOP 1 0\r\nTOP 2 0\r\nRETR 2\r\nQUIT\r\n", "",
            Join({ kOpen,
                { kCount + "2", kSep, kSubject, kSep, kSubject + kMemo, "next", kSep, kDisconnecting,
                    kDisconnected } }),
            "", "next\r\n" },
        // A status line over the limit still ends the run.
        FakeCase { "status_line_over_limit", { kGreeting, "+OK " + kLongName + "aaaaaaaaaa\r\n" },
            After::Listen, "CAPA\r\nUSER u\r\nQUIT\r\n", kTooLong,
            Join({ kOpen, { kDisconnecting, kDisconnected } }) },
        FakeCase { "closed_mid_reply",
            { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 1\r\n", "+OK\r\nSubject: cut" }, After::Close,
            kLogin + "STAT\r\nTOP 1 0\r\n", kClosed, Join({ kOpen, { kCount + "1", kSep } }) },
        FakeCase { "closed_before_greeting", {}, After::Close, "", kClosed, kOpen },
        FakeCase { "silent_server", { kGreeting }, After::Listen, "CAPA\r\nUSER u\r\nQUIT\r\n", kReadTimeout,
            Join({ kOpen, { kDisconnecting, kDisconnected } }), "", "", 200 }),
    [](const auto& tpi) { return std::string(tpi.param.name); });

TEST(Receive, ConnectionFailures)
{
    // Nothing listens: the system refuses, reported with its Windows number
    // and the server tried.
    const int port = mailtest::UnusedLoopbackPort();
    RunResult refused = Receive(port);
    // The reason is the system's, in Japanese.
    EXPECT_EQ(refused.error,
        Sjis("Socket エラー # 10061\r\n") + platform::SystemErrorText(ECONNREFUSED)
            + " (127.0.0.1:" + std::to_string(port) + ")");
    EXPECT_EQ(refused.error.find("Connection"), std::string::npos);
    EXPECT_EQ(refused.log, EndedBy(Log { kConnecting }, refused.error));

    // A name with blanks fails without asking a name server.
    RunResult unknown = Receive(110, {}, 3000, "no such host");
    EXPECT_EQ(unknown.error, Sjis("Socket エラー # 11001\r\nホストが見つかりません。 (no such host:110)"));
    EXPECT_EQ(unknown.log, EndedBy(Log { kResolving }, unknown.error));
    EXPECT_TRUE(refused.enabledAfter && unknown.enabledAfter);

    // A password with a line break would smuggle in a command; nothing is sent.
    RunResult smuggled = Receive(mailtest::UnusedLoopbackPort(), {}, 3000, "127.0.0.1", 3000, "pw\r\nDELE 1");
    EXPECT_EQ(smuggled.error, Sjis("ユーザー名またはパスワードに改行が含まれています。"));
    EXPECT_EQ(smuggled.log, EndedBy(Log {}, smuggled.error));
}

TEST(Receive, NamedHostIsResolvedFirst)
{
    FakePop3Server server({ kGreeting, "+OK\r\n", "+OK\r\n", "+OK 0 0\r\n" });
    RunResult r = Receive(server.port(), {}, 3000, "localhost");
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.log, Join({ { kResolving }, kOpen, { kCount + "0", kSep, kDisconnecting, kDisconnected } }));
}

TEST(Receive, ConnectTimeout)
{
    // A listener whose queue is full lets further connection attempts hang.
    mailtest::FullQueueListener listener;
    ASSERT_TRUE(listener.full()) << "could not fill a listen queue";
    RunResult r = Receive(listener.port(), {}, 3000, "127.0.0.1", 300);
    EXPECT_EQ(r.error, kConnectTimeout + " (127.0.0.1:" + std::to_string(listener.port()) + ")");
    EXPECT_EQ(r.log, EndedBy(Log { kConnecting }, r.error));
}

struct SubjectCase {
    const char* name;
    std::string raw;
    std::string decoded;
};

void PrintTo(const SubjectCase& c, std::ostream* os)
{
    *os << c.name;
}

class SubjectDecoding : public testing::TestWithParam<SubjectCase> { };

TEST_P(SubjectDecoding, ToShiftJis)
{
    EXPECT_EQ(mail::DecodeSubject(GetParam().raw), GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(Receive, SubjectDecoding,
    testing::Values(
        SubjectCase { "encoded_word_with_return_escape", "=?ISO-2022-JP?B?GyRCJWElYhsoQg==?=", kMemo },
        SubjectCase { "lower_case_opening", "=?iso-2022-jp?b?GyRCJWElYhsoQg==?=", kMemo },
        SubjectCase { "plain_ascii_keeps_all_letters", "memo", "memo" },
        SubjectCase { "without_return_escape_keeps_last_character", "=?ISO-2022-JP?B?GyRCJWElYg==?=", kMemo },
        SubjectCase { "two_words_with_blank",
            "=?ISO-2022-JP?B?GyRCJWElYiEnGyhC?= =?ISO-2022-JP?B?GyRCMnE1RCRPGyhCMxskQjt+GyhC?=",
            Sjis("メモ： 会議は3時") },
        SubjectCase { "ascii_prefix_and_word", "Re: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?=", "Re: " + kMemo },
        SubjectCase { "raw_shift_jis_unchanged", kMemo + "abc", kMemo + "abc" }),
    [](const auto& tpi) { return std::string(tpi.param.name); });

TEST(Receive, StatusWithoutWordLogsItsNumber)
{
    EXPECT_EQ(mail::StatusLogLine(mail::hsStatusText), "Status>5");
    EXPECT_EQ(mail::StatusLogLine(12), "Status>12");
}

} // namespace

namespace {

const std::string kRetry = Sjis("接続できませんでした。");

// The logon run waits for a network that comes up late: a server that
// starts listening after 2.5 s is reached by the third try (0, 1, 3 s);
// with no server, the tries stop once the next pause would pass the wait.
TEST(Receive, LogonRunWaitsForTheNetwork)
{
    const struct {
        int listenAfterMs; // -1: never
        int waitMs;
        int tries;
        bool reached;
    } cases[] = { { 2500, 8000, 3, true }, { -1, 2500, 2, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listenAfterMs);
        const int port = mailtest::UnusedLoopbackPort();
        std::optional<mailtest::MailboxServer> server;
        std::thread starter([&] {
            if (c.listenAfterMs < 0)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(c.listenAfterMs));
            server.emplace(mailtest::MailboxServer::Script {
                .messages = {}, .capa = mailtest::MailboxServer::kNoCapa, .port = port });
        });
        mail::ReceiveConfig config = mailtest::LoopbackConfig(port, "u", "p");
        config.networkWaitMs = c.waitMs;
        const auto start = std::chrono::steady_clock::now();
        const RunResult r = mailtest::RunReception(config, "");
        const auto took = std::chrono::steady_clock::now() - start;
        starter.join();
        if (server)
            server->Transcript();
        EXPECT_EQ(r.error.empty(), c.reached) << r.error;
        EXPECT_EQ(std::count(r.log.begin(), r.log.end(), kConnecting), c.tries);
        const auto retries = std::count_if(
            r.log.begin(), r.log.end(), [](const std::string& line) { return line.rfind(kRetry, 0) == 0; });
        EXPECT_EQ(retries, c.tries - 1);
        EXPECT_LT(took, std::chrono::milliseconds(c.reached ? 4500 : 2000));
    }
}

// Reception stops adding before the memo would pass its size limit; the
// mail stays on the server, and a smaller one still fits.
TEST(Receive, MemoNeverGrowsPastItsLimit)
{
    mailtest::MailboxServer server(
        { .messages = { "Subject: memo\n\n" + std::string(60, 'a') + "\n", "Subject: memo\n\nsmall\n" },
            .capa = mailtest::MailboxServer::kNoCapa });
    mail::ReceiveConfig config = mailtest::LoopbackConfig(server.port(), "u", "p");
    config.keyword1 = "memo";
    config.maxMemoBytes = 50;
    const RunResult r = mailtest::RunReception(config, std::string(40, 'm'));
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.memo, std::string(40, 'm') + "\r\nsmall\r\n");
    EXPECT_EQ(std::count(r.log.begin(), r.log.end(),
                  Sjis("メモの大きさの上限を超えるため、このメールは受信しませんでした。")),
        1);
}

} // namespace

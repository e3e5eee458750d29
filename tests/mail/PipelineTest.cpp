// Reception against servers that do and do not offer PIPELINING: every run
// must show the same log, memo and error, whichever way the commands went.

#include "LogLines.h"
#include "MailboxServer.h"
#include "RunReception.h"
#include "common/SjisLiteral.h"
#include "mail/MailError.h"
#include "mail/ReceiveRun.h"
#include "mail/TextReceiveWindow.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace mailtest::lines;

using mailtest::MailboxServer;
using Log = std::vector<std::string>;

const std::string kMemoWord = "=?ISO-2022-JP?B?GyRCJWElYhsoQg==?="; // メモ
const std::string kFailed = Sjis("メールの受信に失敗しました。");
const std::string kTooLarge = Sjis("メールが大きすぎるため受信しませんでした。");
const std::string kClosed = Sjis("接続が閉じられました。");

using Outcome = mailtest::Reception;

Outcome Receive(int port, int lowSpeedBytesPerSecond = 4, int lowSpeedWindowMs = 60000)
{
    mail::ReceiveConfig config = mailtest::LoopbackConfig(port, "u", "p");
    config.keyword1 = kMemo;
    config.readTimeoutMs = 3000;
    config.connectTimeoutMs = 3000;
    config.lowSpeedBytesPerSecond = lowSpeedBytesPerSecond;
    config.lowSpeedWindowMs = lowSpeedWindowMs;
    return mailtest::RunReception(config, "old");
}

struct Case {
    const char* name;
    int count;
    std::set<int> memos;
    int refuseTop = 0;
    int refuseRetr = 0;
    int closeAtTop = 0;
    int tooLarge = 0; // a memo mail with a body over the limit
    std::string error = {};
    // The server closes before sending a message the run already asked for
    // ahead: the pipelined run fails with the same error but at that
    // message, showing a shorter part of the same log.
    bool pipelinedEndsEarlier = false;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<std::string> Mailbox(const Case& c)
{
    std::vector<std::string> messages;
    for (int n = 1; n <= c.count; ++n) {
        const bool memo = c.memos.count(n) > 0 || n == c.tooLarge;
        std::string body = "item " + std::to_string(n) + "\n.dot " + std::to_string(n) + "\n";
        for (int line = 0; n == c.tooLarge && line < 11000; ++line)
            body.append(99, 'x').append("\n");
        messages.push_back("From: a@example.jp\nSubject: " + (memo ? kMemoWord : "note " + std::to_string(n))
            + "\n\n" + body);
    }
    return messages;
}

// What the run must show, worked out from the mailbox alone.
Outcome Expected(const Case& c)
{
    Outcome e { { kConnecting, kConnected, kCount + std::to_string(c.count), kSep }, "old", c.error };
    const int last = c.refuseTop ? c.refuseTop - 1 : c.closeAtTop ? c.closeAtTop - 1 : c.count;
    for (int n = 1; n <= last; ++n) {
        const bool memo = c.memos.count(n) > 0 || n == c.tooLarge;
        e.log.push_back(kSubject + (memo ? kMemo : "note " + std::to_string(n)));
        if (n == c.tooLarge) {
            e.log.push_back(kTooLarge);
        } else if (memo && n == c.refuseRetr) {
            e.log.push_back(kFailed);
        } else if (memo) {
            const std::string body = "item " + std::to_string(n) + "\r\n.dot " + std::to_string(n) + "\r\n";
            e.log.push_back("item " + std::to_string(n));
            e.log.push_back(".dot " + std::to_string(n));
            e.memo += "\r\n" + body.substr(0, body.size() - 2);
        }
        e.log.push_back(kSep);
    }
    if (e.memo != "old")
        e.memo += "\r\n";
    // A closed connection gets no QUIT and so no closing lines.
    if (!c.closeAtTop) {
        e.log.push_back(kDisconnecting);
        e.log.push_back(kDisconnected);
    }
    e.log = EndedBy(e.log, c.error);
    return e;
}

class Pipeline : public testing::TestWithParam<Case> { };

TEST_P(Pipeline, SameRunWithAndWithoutPipelining)
{
    const Case& c = GetParam();
    const Outcome expected = Expected(c);
    for (const std::string& capa :
        { MailboxServer::kPipelining, MailboxServer::kNoPipelining, MailboxServer::kNoCapa }) {
        SCOPED_TRACE(capa);
        MailboxServer::Script script { Mailbox(c), capa, c.refuseTop, c.refuseRetr, c.closeAtTop, 5, 0 };
        MailboxServer server(script);
        const Outcome r = Receive(server.port());
        const std::string transcript = server.Transcript();
        EXPECT_EQ(r.error, expected.error);
        if (c.pipelinedEndsEarlier && capa == MailboxServer::kPipelining) {
            ASSERT_LT(r.log.size(), expected.log.size());
            // The same log up to where it ended, then the same failure line.
            EXPECT_EQ(r.log.back(), expected.log.back());
            EXPECT_TRUE(std::equal(r.log.begin(), r.log.end() - 1, expected.log.begin()));
            EXPECT_EQ(expected.memo.rfind(r.memo, 0), 0u) << "a body was cut short";
        } else {
            EXPECT_EQ(r.log, expected.log);
            EXPECT_EQ(r.memo, expected.memo);
        }
        EXPECT_EQ(transcript.substr(0, 20), "CAPA\r\nUSER u\r\nPASS p");
        EXPECT_FALSE(server.QuitBeforeReplies());
        if (capa != MailboxServer::kPipelining) {
            EXPECT_LE(server.MostAhead(), 1) << "a command was sent before the previous reply";
        } else {
            // Requests went out ahead, but never more than a window of them
            // plus the message requests they triggered.
            EXPECT_TRUE(c.count <= 2 || server.MostAhead() > 1) << server.MostAhead();
            EXPECT_LE(server.MostAhead(), 2 * static_cast<int>(mail::Pop3Client::kPipelineWindow) + 1);
        }
        // Nothing is asked for past a refused header.
        if (c.refuseTop) {
            EXPECT_EQ(transcript.find("RETR " + std::to_string(c.refuseTop) + "\r\n"), std::string::npos);
            EXPECT_EQ(transcript.find("TOP "
                          + std::to_string(
                              c.refuseTop + 1 + 2 * static_cast<int>(mail::Pop3Client::kPipelineWindow))
                          + " 0"),
                std::string::npos);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Receive, Pipeline,
    testing::Values(Case { "many_messages", 300, { 1, 7, 64, 65, 128, 129, 130, 250, 300 } },
        Case { "top_refused_mid_window", 300, { 5, 140 }, 200, 0, 0, 0, "no such message" },
        Case { "top_refused_after_memo_mails", 300, { 198, 199 }, 200, 0, 0, 0, "no such message" },
        Case { "retr_refused_mid_window", 200, { 3, 100, 101 }, 0, 100 },
        Case { "closed_mid_window", 300, { 2, 10 }, 0, 0, 290, 0, kClosed },
        Case { "closed_before_a_memo_mail_came", 300, { 2, 10 }, 0, 0, 200, 0, kClosed, true },
        Case { "memo_over_size_limit", 6, { 4 }, 0, 0, 0, 2 }, Case { "one_message", 1, { 1 } },
        Case { "empty_mailbox", 0, {} }),
    [](const auto& tpi) { return std::string(tpi.param.name); });

TEST(Receive, DrippingServerCannotHoldTheRun)
{
    const Case c { "drip", 1, { 1 } };
    // A byte every 20 ms is 50 bytes a second: below a floor of 100 bytes a
    // second over 300 ms, although every single read is quick.
    MailboxServer slow({ Mailbox(c), MailboxServer::kNoCapa, 0, 0, 0, 0, 20 });
    const auto start = std::chrono::steady_clock::now();
    const Outcome r = Receive(slow.port(), 100, 300);
    EXPECT_EQ(r.error, kReadTimeout);
    EXPECT_EQ(r.log, EndedBy(Log { kConnecting, kConnected, kDisconnecting, kDisconnected }, r.error));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    slow.Transcript();

    // Above the floor the same server is simply slow.
    MailboxServer fast({ Mailbox(c), MailboxServer::kNoCapa, 0, 0, 0, 0, 1 });
    const Outcome ok = Receive(fast.port(), 100, 300);
    EXPECT_EQ(ok.error, "");
    EXPECT_EQ(ok.log, Expected(c).log);
}

} // namespace

namespace {

// A server that keeps sending just fast enough for the minimum rate is
// still stopped by the run's overall time limit.
TEST(Receive, WholeRunHasATimeLimit)
{
    const Case c { "slow", 1, {}, 0, 0, 0, 1 };
    MailboxServer slow({ Mailbox(c), MailboxServer::kNoCapa, 0, 0, 0, 0, 2 });
    mail::ReceiveConfig config = mailtest::LoopbackConfig(slow.port(), "u", "p");
    config.keyword1 = kMemo;
    config.runTimeLimitMs = 1000;
    const auto start = std::chrono::steady_clock::now();
    const Outcome r = mailtest::RunReception(config, "");
    EXPECT_EQ(r.error, Sjis("受信の制限時間 (1 秒) を超えました。"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    slow.Transcript();
}

// Header replies of 200 KB of one-byte lines: only a few are held ahead of
// the memo mail the run waits for, the others are asked for again in their
// turn, and the run shows what a lock-step run shows.
TEST(Receive, HeldHeadersAreBoundedByBytes)
{
    std::vector<std::string> messages { "Subject: " + kMemoWord + "\n\nfirst\n" };
    std::string bulky = "Subject: bulky\n";
    for (int i = 0; i < 68000; ++i)
        bulky += "x\n";
    for (int n = 2; n <= 8; ++n)
        messages.push_back(bulky + "\nbody\n");
    Log logs[2];
    std::string transcripts[2];
    for (int pipelined = 0; pipelined < 2; ++pipelined) {
        MailboxServer server(
            { messages, pipelined ? MailboxServer::kPipelining : MailboxServer::kNoPipelining });
        const Outcome r = Receive(server.port());
        EXPECT_EQ(r.error, "");
        logs[pipelined] = r.log;
        transcripts[pipelined] = server.Transcript();
    }
    EXPECT_EQ(logs[1], logs[0]);
    EXPECT_EQ(logs[1][4], kSubject + kMemo);
    // Asked for twice: dropped while the memo mail was awaited.
    const std::string& pipelined = transcripts[1];
    EXPECT_NE(pipelined.find("TOP 8 0", pipelined.find("TOP 8 0") + 1), std::string::npos) << pipelined;
}

} // namespace

// Remembering received mail across runs, the memo edited between them: a
// line the user deleted stays deleted where the server gives unique ids,
// and comes back as before where it does not; pipelined or not.

#include "LogLines.h"
#include "MailboxServer.h"
#include "RunReception.h"
#include "common/SjisLiteral.h"
#include "mail/ReceiveRun.h"
#include "mail/TextReceiveWindow.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using mailtest::MailboxServer;
using namespace mailtest::lines;
using Ids = std::vector<std::string>;

const std::string kMemoWord = "=?ISO-2022-JP?B?GyRCJWElYhsoQg==?="; // メモ
const std::string kMilk = "Subject: " + kMemoWord + "\n\nmilk\n";
const std::string kNote = "Subject: note\n\nnot a memo\n";
const std::string kBread = "Subject: " + kMemoWord + "\n\nbread\n";
const std::string kAlready = Sjis("受信済みのメールです。");
const std::string kNoUidl
    = Sjis("サーバーがメールの識別番号 (UIDL) を返さないため、受信済みのメールを記憶できません。");

struct Outcome {
    std::vector<std::string> log;
    std::string memo;
    std::optional<Ids> ids;
    std::string transcript;
};

Outcome Receive(
    const Ids& mailbox, const std::string& capa, bool uidl, const std::string& memo, const Ids& ids)
{
    MailboxServer server({ mailbox, capa, 0, 0, 0, 0, 0, uidl });
    mail::ReceiveConfig config = mailtest::LoopbackConfig(server.port(), "u", "p");
    config.keyword1 = kMemo;
    config.readTimeoutMs = 3000;
    config.remember = true;
    config.receivedIds = ids;
    mail::TextReceiveWindow window(memo);
    mail::ReceiveRun run(config, window);
    EXPECT_NO_THROW(run.Run());
    return { window.log(), window.memo(), run.RememberedIds(), server.Transcript() };
}

long Count(const std::vector<std::string>& log, const std::string& line)
{
    return std::count(log.begin(), log.end(), line);
}

class Remember : public testing::TestWithParam<std::tuple<std::string, bool>> { };

TEST_P(Remember, DeletedMemoLinesStayDeleted)
{
    const auto& [capa, uidl] = GetParam();
    const Ids mailbox { kMilk, kNote, kBread };
    // Remembering just turned on: milk is in the memo already and is not
    // added twice, but remembered.
    const Outcome first = Receive(mailbox, capa, uidl, "milk\r\n", {});
    EXPECT_EQ(first.memo, "milk\r\nbread\r\n");
    // The user deletes the milk line before the next run.
    const Outcome second = Receive(mailbox, capa, uidl, "bread\r\n", first.ids.value_or(Ids {}));
    if (!uidl) {
        EXPECT_EQ(first.ids, std::nullopt);
        EXPECT_EQ(Count(first.log, kNoUidl), 1);
        EXPECT_EQ(second.memo, "bread\r\nmilk\r\n");
        return;
    }
    const std::string milk = MailboxServer::UniqueId(kMilk);
    const std::string bread = MailboxServer::UniqueId(kBread);
    EXPECT_EQ(first.ids, (Ids { milk, bread }));
    EXPECT_EQ(second.memo, "bread\r\n");
    EXPECT_EQ(Count(second.log, kAlready), 2);
    // Remembered mails are not even fetched.
    EXPECT_EQ(second.transcript.find("RETR"), std::string::npos) << second.transcript;
    EXPECT_EQ(second.ids, first.ids);

    // Deleted on the server, milk is forgotten; bread stays remembered.
    const Outcome third = Receive({ kNote, kBread }, capa, uidl, "", *second.ids);
    EXPECT_EQ(third.ids, (Ids { bread }));
    EXPECT_EQ(third.memo, "");
}

INSTANTIATE_TEST_SUITE_P(Receive, Remember,
    testing::Combine(
        testing::Values(MailboxServer::kPipelining, MailboxServer::kNoPipelining), testing::Bool()));

} // namespace

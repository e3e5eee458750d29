// The IMAP client's bounds on scripted sessions a real server will not
// produce (fed through a socket pair): hostile literals and lines, an endless
// stream of untagged responses, a server that never answers IDLE's DONE;
// and the wire forms of folder names and UID sets.

#include "common/SjisLiteral.h"
#include "mail/ImapClient.h"
#include "mail/MailError.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using mail::ImapClient;

// Everything a session says up to an opened folder (tags A1 LOGIN, its
// password a literal the server asks for, A2 EXAMINE); the case's answers
// to A3 follow.
const std::string kOpened
    = "* OK [CAPABILITY IMAP4rev1 IDLE] ready\r\n+ go on\r\n"
      "A1 OK [CAPABILITY IMAP4rev1 IDLE] in\r\n"
      "* 1 EXISTS\r\n* OK [UIDVALIDITY 7] v\r\n* OK [UIDNEXT 6] n\r\nA2 OK [READ-ONLY] done\r\n";

struct LimitCase {
    const char* name;
    std::string answer; // to A3
    bool endless; // then "* OK still here" until the client goes
    bool idle; // A3 is IDLE, not the subject fetch
    std::string error;
    std::string subject = {};
};

void PrintTo(const LimitCase& c, std::ostream* os)
{
    *os << c.name;
}

class ImapLimits : public testing::TestWithParam<LimitCase> { };

TEST_P(ImapLimits, ClearErrorOrAnswer)
{
    const LimitCase& c = GetParam();
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
    std::string transcript;
    std::thread server([&c, &transcript, fd = ends[1]] {
        const std::string script = kOpened + c.answer;
        bool open
            = ::send(fd, script.data(), script.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(script.size());
        const std::string filler = "* OK still here\r\n";
        while (open && c.endless)
            open = ::send(fd, filler.data(), filler.size(), MSG_NOSIGNAL) > 0;
        char sink[256];
        for (ssize_t got; (got = ::recv(fd, sink, sizeof sink, 0)) > 0;)
            transcript.append(sink, static_cast<std::size_t>(got));
        ::close(fd);
    });
    ImapClient client({ .user = "u", .password = "p\xe9", .readTimeoutMs = 300, .maxReplyBytes = 64 * 1024 });
    std::string error;
    std::vector<ImapClient::NewMail> mails;
    try {
        client.ConnectOver(ends[0]);
        EXPECT_EQ(client.Examine("INBOX").uidValidity, 7u);
        std::uint32_t total = 0;
        if (c.idle)
            client.WaitForNewMail(std::chrono::steady_clock::now() + std::chrono::milliseconds(100), -1);
        else
            client.FetchSubjects(1, mails, total);
    } catch (const mail::MailError& e) {
        error = e.what();
    }
    client.Disconnect();
    server.join();
    EXPECT_EQ(error, c.error);
    if (!c.subject.empty()) {
        ASSERT_EQ(mails.size(), 1u);
        EXPECT_EQ(mails[0].uid, 5u);
        EXPECT_EQ(mails[0].subject, c.subject);
        EXPECT_EQ(transcript,
            "A1 LOGIN \"u\" {2}\r\np\xe9\r\nA2 EXAMINE \"INBOX\"\r\n"
            "A3 UID FETCH 1:* (UID BODY.PEEK[HEADER.FIELDS (SUBJECT)])\r\nA4 LOGOUT\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Imap, ImapLimits,
    testing::Values(LimitCase { "literal_of_4_gigabytes",
                        "* 1 FETCH (UID 1 BODY[HEADER.FIELDS (SUBJECT)] {4294967295}\r\n", false, false,
                        Sjis("サーバーの応答が大きすぎます。") },
        LimitCase { "line_over_the_limit", "* 1 FETCH (UID 1 " + std::string(20000, 'x'), false, false,
            Sjis("最大行の長さを超えました。") },
        LimitCase { "endless_untagged_stream", "", true, false, Sjis("サーバーの応答が大きすぎます。") },
        LimitCase { "no_answer_to_done", "+ idling\r\n", false, true, Sjis("受信タイムアウト。") },
        // A literal that ends inside a line: the response goes on after it.
        LimitCase { "literal_ending_mid_line",
            "* 1 FETCH (BODY[HEADER.FIELDS (SUBJECT)] {10}\r\nSubject: a UID 5)\r\nA3 OK done\r\n", false,
            false, "", "a" }),
    [](const auto& tpi) { return std::string(tpi.param.name); });

TEST(ImapWireForms, FolderNamesAndUidSets)
{
    EXPECT_EQ(mail::ImapFolderName(Sjis("メモ帳"), false), "&MOEw4l4z-");
    EXPECT_EQ(mail::ImapFolderName(Sjis("仕事/メモ & 1"), false), "&TtVOiw-/&MOEw4g- &- 1");
    EXPECT_EQ(mail::ImapFolderName("inbox", false), "INBOX");
    EXPECT_EQ(mail::ImapFolderName(Sjis("メモ帳"), true), "\xe3\x83\xa1\xe3\x83\xa2\xe5\xb8\xb3");
    const std::uint32_t uids[] = { 1, 2, 3, 7, 9, 10 };
    EXPECT_EQ(mail::ImapUidSet(uids), "1:3,7,9:10");
}

} // namespace

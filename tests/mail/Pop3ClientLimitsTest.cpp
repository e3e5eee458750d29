// The client's size limits on one scripted session, fed through a socket
// pair: a body at the limit is kept, one byte more is dropped whole without
// losing the replies after it, and a reply past the hard cap ends the run.

#include "common/SjisLiteral.h"
#include "mail/MailError.h"
#include "mail/Message.h"
#include "mail/Pop3Client.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Fetch = mail::Pop3Client::Fetch;

struct LimitCase {
    const char* name;
    std::size_t bodyBytes; // of the message's one body line, line end included
    Fetch fetched;
    std::string error = {};
};

void PrintTo(const LimitCase& c, std::ostream* os)
{
    *os << c.name;
}

class Pop3ClientLimits : public testing::TestWithParam<LimitCase> { };

TEST_P(Pop3ClientLimits, BodyKeptDroppedOrRunEnded)
{
    const LimitCase& c = GetParam();
    // The body's size is its line and CR LF.
    const std::string line(c.bodyBytes - 2, 'x');
    const std::string server = "+OK hi\r\n-ERR no CAPA\r\n+OK\r\n+OK\r\n+OK 2 0\r\n"
                               "+OK\r\nSubject: big\r\n\r\n.\r\n+OK\r\nSubject: big\r\n\r\n"
        + line + "\r\n.\r\n+OK\r\nSubject: after\r\n\r\n.\r\n";
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    ASSERT_EQ(::send(ends[1], server.data(), server.size(), 0), static_cast<ssize_t>(server.size()));
    ::shutdown(ends[1], SHUT_WR);

    mail::Pop3Client client({ .readTimeoutMs = 2000, .maxBodyBytes = 1002, .maxReplyBytes = 3000 });
    std::string error;
    mail::Message msg;
    try {
        client.ConnectOver(ends[0]);
        ASSERT_EQ(client.CheckMessages(), 2);
        client.RetrieveHeader(1, msg);
        EXPECT_EQ(client.Retrieve(1, msg), c.fetched);
        EXPECT_EQ(msg.Body(), c.fetched == Fetch::Ok ? line + "\r\n" : "");
        client.RetrieveHeader(2, msg);
        EXPECT_EQ(msg.Subject(), "after");
    } catch (const mail::MailError& e) {
        error = e.what();
    }
    EXPECT_EQ(error, c.error);
    client.Disconnect();
    ::close(ends[1]);
}

INSTANTIATE_TEST_SUITE_P(Receive, Pop3ClientLimits,
    testing::Values(LimitCase { "body_at_limit", 1002, Fetch::Ok },
        LimitCase { "body_over_limit", 1003, Fetch::TooLarge },
        LimitCase { "reply_over_hard_cap", 3100, Fetch::TooLarge, Sjis("サーバーの応答が大きすぎます。") }),
    [](const auto& tpi) { return std::string(tpi.param.name); });

} // namespace

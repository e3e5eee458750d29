// With a secure mode chosen, the login never goes out before TLS is up: a
// scripted server that refuses STLS, breaks off the handshake, never
// answers it, slips in bytes before it, or speaks no TLS at all.

#include "FakePop3Server.h"
#include "LogLines.h"
#include "RunReception.h"
#include "TestCertificates.h"
#include "TlsFakeServer.h"
#include "common/SjisLiteral.h"
#include "mail/MailError.h"
#include "mail/ReceiveRun.h"
#include "mail/TextReceiveWindow.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace mailtest::lines;

using mail::Pop3Security;
using mailtest::FakePop3Server;
using After = FakePop3Server::After;
using Log = std::vector<std::string>;

const std::string kDataBeforeHandshake = Sjis("STLS の応答の後に余分なデータが届きました。");
const std::string kCaUnreadable = Sjis("CA 証明書ファイルを読み込めません: ");
const std::string kGreeting = "+OK ready\r\n";

struct Case {
    const char* name;
    Pop3Security security;
    std::vector<std::string> replies;
    After after;
    // The client's bytes up to the first one it sends in TLS (a
    // handshake's first record byte is 0x16).
    std::string clearText;
    // How the error message starts.
    std::string error;
    Log log;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

// A run on loopback that logs in as "someone" with "secret-pw"; the tests
// look for these two in what reached the server.
mail::ReceiveConfig SecureConfig(int port, Pop3Security security, int readTimeoutMs)
{
    mail::ReceiveConfig config = mailtest::LoopbackConfig(port, "someone", "secret-pw");
    config.readTimeoutMs = readTimeoutMs;
    config.security = security;
    return config;
}

class SecureLogin : public testing::TestWithParam<Case> { };

TEST_P(SecureLogin, NoLoginBeforeTls)
{
    const Case& c = GetParam();
    FakePop3Server server(c.replies, c.after);
    mail::ReceiveConfig config = SecureConfig(server.port(), c.security, 3000);
    config.keyword1 = "memo";
    config.connectTimeoutMs = 300;
    const mailtest::Reception r = mailtest::RunReception(config, "m");
    const std::string& error = r.error;
    const std::string transcript = server.Transcript();
    EXPECT_EQ(transcript.substr(0, transcript.find('\x16')), c.clearText);
    EXPECT_EQ(transcript.find("someone"), std::string::npos);
    EXPECT_EQ(transcript.find("secret-pw"), std::string::npos);
    EXPECT_EQ(error.substr(0, c.error.size()), c.error) << error;
    EXPECT_EQ(r.log, EndedBy(c.log, error));
    EXPECT_EQ(r.memo, "m");
    EXPECT_TRUE(r.enabledAfter);
}

const Log kOpen { kConnecting, kConnected };

INSTANTIATE_TEST_SUITE_P(Tls, SecureLogin,
    testing::Values(
        // The refusal is the run's error; only a QUIT follows, in clear.
        Case { "stls_refused", Pop3Security::StartTls, { kGreeting, "-ERR not available\r\n" }, After::Listen,
            "CAPA\r\nSTLS\r\nQUIT\r\n", "not available",
            { kConnecting, kConnected, kDisconnecting, kDisconnected } },
        Case { "stls_unrecognised_reply", Pop3Security::StartTls, { kGreeting, "OK go\r\n" }, After::Listen,
            "CAPA\r\nSTLS\r\nQUIT\r\n", "Unrecognized POP3 Response Header:\n\"OK go\"",
            { kConnecting, kConnected, kDisconnecting, kDisconnected } },
        // Bytes after the +OK would be read as the server's first replies
        // once TLS is up; the connection is dropped instead.
        Case { "bytes_slipped_in_after_stls", Pop3Security::StartTls, { kGreeting, "+OK\r\n+OK 1 0\r\n" },
            After::Listen, "CAPA\r\nSTLS\r\n", kTlsFailed + "\r\n" + kDataBeforeHandshake, kOpen },
        Case { "handshake_cut_off", Pop3Security::StartTls, { kGreeting, "+OK begin\r\n" }, After::Close,
            "CAPA\r\nSTLS\r\n", kTlsFailed, kOpen },
        Case { "handshake_never_answered", Pop3Security::StartTls, { kGreeting, "+OK begin\r\n" },
            After::Listen, "CAPA\r\nSTLS\r\n", kConnectTimeout, kOpen },
        Case { "handshake_answered_in_clear", Pop3Security::StartTls,
            { kGreeting, "+OK begin\r\n", "-ERR what is this\r\n" }, After::Listen, "CAPA\r\nSTLS\r\n",
            kTlsFailed, kOpen },
        Case { "pop3s_to_a_plain_server", Pop3Security::Tls, { kGreeting }, After::Listen, "", kTlsFailed,
            kOpen },
        // A stored mode from a newer version is no reason to log in in clear.
        Case { "unknown_mode", static_cast<Pop3Security>(7), { kGreeting }, After::Listen, "", kTlsFailed,
            kOpen }),
    [](const auto& tpi) { return std::string(tpi.param.name); });

TEST(Tls, UnreadableCaFileStopsBeforeAnyContact)
{
    // Nothing listens on the port: a connection attempt would fail
    // differently and log its status.
    mail::ReceiveConfig config;
    config.host = "127.0.0.1";
    config.port = mailtest::UnusedLoopbackPort();
    config.security = Pop3Security::StartTls;
    config.caFile = "/no/such/ca.pem";
    mail::TextReceiveWindow window("m");
    try {
        mail::ReceiveRun(config, window).Run();
        ADD_FAILURE() << "the run succeeded";
    } catch (const mail::MailError& e) {
        EXPECT_EQ(std::string(e.what()), kCaUnreadable + "/no/such/ca.pem");
    }
    EXPECT_EQ(window.log(), (Log { FailureLine(kCaUnreadable + "/no/such/ca.pem") }));
    EXPECT_TRUE(window.receiveEnabled());
}

} // namespace

TEST(Tls, LoginInsideTlsAndReadTimeLimit)
{
    const mailtest::TestCertificates& certs = mailtest::TestCertificates::Get();
    ASSERT_EQ(certs.error, "") << "the openssl command is required";
    // Greeting, USER and PASS are answered; STAT never is.
    mailtest::TlsFakeServer server(certs.good.cert, certs.good.key, { kGreeting, "+OK\r\n", "+OK\r\n" });
    mail::ReceiveConfig config = SecureConfig(server.port(), Pop3Security::Tls, 300);
    config.caFile = certs.caFile;
    const mailtest::Reception r = mailtest::RunReception(config, "m");
    const std::string& error = r.error;
    EXPECT_EQ(error, kReadTimeout);
    // The QUIT after the time-out still goes inside TLS.
    EXPECT_EQ(server.Transcript(), "CAPA\r\nUSER someone\r\nPASS secret-pw\r\nSTAT\r\nQUIT\r\n");
    EXPECT_EQ(r.log, EndedBy(Log { kConnecting, kConnected, kDisconnecting, kDisconnected }, error));
}

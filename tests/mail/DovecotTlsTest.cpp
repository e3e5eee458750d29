// Reception over TLS against a real Dovecot: POP3S and STLS with a
// certificate from a test CA, and the certificate failures a user meets.

#include "DovecotServer.h"
#include "LogLines.h"
#include "RunReception.h"
#include "TestCertificates.h"
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
using mailtest::TestCertificates;
using Log = std::vector<std::string>;

const std::string kMilk = Sjis("牛乳を買う");

// "サーバー証明書を検証できません（" reason "）。"
std::string CertificateError(const std::string& reason)
{
    return Sjis("サーバー証明書を検証できません（") + reason + Sjis("）。");
}
const std::string kExpired = CertificateError(Sjis("期限切れ"));
const std::string kNameMismatch = CertificateError(Sjis("名前の不一致: 127.0.0.1"));
const std::string kSelfSigned = CertificateError(Sjis("自己署名"));
const std::string kUntrusted = CertificateError(Sjis("信頼されていない証明書"));

using Result = mailtest::Reception;

Result Receive(
    int port, Pop3Security security, const std::string& caFile, const std::string& host = "127.0.0.1")
{
    mail::ReceiveConfig config = mailtest::LoopbackConfig(port, "memo", "secret");
    config.host = host;
    config.keyword1 = kMemo;
    config.connectTimeoutMs = 5000;
    config.readTimeoutMs = 5000;
    config.security = security;
    config.caFile = caFile;
    return mailtest::RunReception(config, "kept");
}

const std::vector<std::string> kMailbox {
    "Subject: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?=\nContent-Type: text/plain; charset=ISO-2022-JP\n\n"
    "\x1b$B5mF}$rGc$&\x1b(B\n",
    "Subject: other\n\nnot a memo\n",
};

class DovecotTls : public testing::Test {
protected:
    static const TestCertificates& Certs()
    {
        const TestCertificates& certs = TestCertificates::Get();
        EXPECT_EQ(certs.error, "") << "the openssl command is required";
        return certs;
    }

    // Starts a server that serves this certificate, with the login refused
    // until the connection is secure.
    void Start(const TestCertificates::Pair& pair, bool required = true)
    {
        server_.AddUser("memo", "secret", kMailbox);
        server_.EnableTls(pair.cert, pair.key, required);
        const std::string failure = server_.Start();
        ASSERT_EQ(failure, "") << "the Dovecot test server is required";
    }

    mailtest::DovecotServer server_;
};

TEST_F(DovecotTls, ReceivesOverPop3sAndStls)
{
    const TestCertificates& certs = Certs();
    ASSERT_EQ(certs.error, "");
    Start(certs.good);
    const Log expected { kConnecting, kConnected, kCount + "2", kSep, kSubject + kMemo, kMilk, kSep,
        kSubject + "other", kSep, kDisconnecting, kDisconnected };

    Result pop3s = Receive(server_.tlsPort(), Pop3Security::Tls, certs.caFile);
    EXPECT_EQ(pop3s.error, "");
    EXPECT_EQ(pop3s.log, expected);
    EXPECT_EQ(pop3s.memo, "kept\r\n" + kMilk + "\r\n");

    Result stls = Receive(server_.port(), Pop3Security::StartTls, certs.caFile);
    EXPECT_EQ(stls.error, "");
    EXPECT_EQ(stls.log, expected);
    EXPECT_EQ(stls.memo, "kept\r\n" + kMilk + "\r\n");

    // By name: the name is sent to the server and checked against the
    // certificate's DNS entry.
    Result named = Receive(server_.tlsPort(), Pop3Security::Tls, certs.caFile, "localhost");
    EXPECT_EQ(named.error, "");
    EXPECT_EQ(named.log.front(), kResolving);
}

// Dovecot lists PIPELINING; the client learns it on every kind of
// connection, after STLS from the capabilities asked inside TLS, and the
// pipelined run of a mailbox larger than the window gives every message.
TEST_F(DovecotTls, PipelinesOnEveryKindOfConnection)
{
    const TestCertificates& certs = Certs();
    ASSERT_EQ(certs.error, "");
    std::vector<std::string> many;
    for (int i = 1; i <= 400; ++i)
        many.push_back("Subject: " + std::string(i % 50 == 0 ? "=?ISO-2022-JP?B?GyRCJWElYhsoQg==?=" : "n")
            + "\n\nitem " + std::to_string(i) + "\n");
    server_.AddUser("many", "pw", many);
    Start(certs.good, false);
    std::string memo;
    for (int i = 50; i <= 400; i += 50)
        memo += "item " + std::to_string(i) + "\r\n";
    const struct {
        Pop3Security security;
        int port;
    } kinds[] = { { Pop3Security::None, server_.port() }, { Pop3Security::StartTls, server_.port() },
        { Pop3Security::Tls, server_.tlsPort() } };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(static_cast<int>(kind.security));
        mail::Pop3Client client({ .host = "127.0.0.1",
            .port = kind.port,
            .user = "many",
            .password = "pw",
            .security = kind.security,
            .caFile = certs.caFile,
            .readTimeoutMs = 5000 });
        client.Connect();
        EXPECT_TRUE(client.Pipelining());
        client.Disconnect();

        mail::ReceiveConfig config;
        config.host = "127.0.0.1";
        config.port = kind.port;
        config.user = "many";
        config.password = "pw";
        config.keyword1 = kMemo;
        config.readTimeoutMs = 5000;
        config.security = kind.security;
        config.caFile = certs.caFile;
        mail::TextReceiveWindow window;
        EXPECT_NO_THROW(mail::ReceiveRun(config, window).Run());
        EXPECT_EQ(window.memo(), memo);
        ASSERT_EQ(window.log().size(), 4u + 400u * 2u + 8u + 2u);
        EXPECT_EQ(window.log()[4], kSubject + "n");
        EXPECT_EQ(window.log()[window.log().size() - 4], "item 400");
    }
}

struct FailureCase {
    const char* name;
    TestCertificates::Pair TestCertificates::*pair;
    bool withCa;
    std::string error;
    std::string host = "127.0.0.1";
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class DovecotTlsFailure : public DovecotTls, public testing::WithParamInterface<FailureCase> { };

TEST_P(DovecotTlsFailure, EndsTheRunBeforeTheLogin)
{
    const FailureCase& c = GetParam();
    const TestCertificates& certs = Certs();
    ASSERT_EQ(certs.error, "");
    Start(certs.*c.pair);
    for (Pop3Security security : { Pop3Security::Tls, Pop3Security::StartTls }) {
        const int port = security == Pop3Security::Tls ? server_.tlsPort() : server_.port();
        Result r = Receive(port, security, c.withCa ? certs.caFile : "", c.host);
        EXPECT_EQ(r.error, c.error) << static_cast<int>(security);
        // The connection is dropped at once: no QUIT, so no closing lines.
        const Log opened = c.host == "127.0.0.1" ? Log { kConnecting, kConnected }
                                                 : Log { kResolving, kConnecting, kConnected };
        EXPECT_EQ(r.log, EndedBy(opened, r.error)) << static_cast<int>(security);
        EXPECT_EQ(r.memo, "kept");
    }
}

INSTANTIATE_TEST_SUITE_P(Certificates, DovecotTlsFailure,
    testing::Values(FailureCase { "expired", &TestCertificates::expired, true, kExpired },
        FailureCase { "wrong_address", &TestCertificates::wrongName, true, kNameMismatch },
        FailureCase { "wrong_name", &TestCertificates::wrongName, true,
            CertificateError(Sjis("名前の不一致: localhost")), "localhost" },
        FailureCase { "ca_not_handed_over", &TestCertificates::good, false, kUntrusted },
        FailureCase { "self_signed", &TestCertificates::selfSigned, true, kSelfSigned }),
    [](const auto& tpi) { return std::string(tpi.param.name); });

TEST_F(DovecotTls, ServerWithoutTls)
{
    server_.AddUser("memo", "secret", kMailbox);
    ASSERT_EQ(server_.Start(), "") << "the Dovecot test server is required";

    // STLS refused: the server's words end the run; no fallback to a login
    // in clear (the run would otherwise have fetched the memo mail).
    Result stls = Receive(server_.port(), Pop3Security::StartTls, "");
    EXPECT_EQ(stls.error, "TLS support isn't enabled.");
    EXPECT_EQ(stls.log, EndedBy(Log { kConnecting, kConnected, kDisconnecting, kDisconnected }, stls.error));
    EXPECT_EQ(stls.memo, "kept");

    // TLS from the start against a plain server: its greeting is no TLS.
    Result tls = Receive(server_.port(), Pop3Security::Tls, "");
    EXPECT_EQ(tls.error.rfind(kTlsFailed, 0), 0u) << tls.error;
    EXPECT_EQ(tls.log, EndedBy(Log { kConnecting, kConnected }, tls.error));
}

} // namespace

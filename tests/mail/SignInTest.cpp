// Signing in with SASL: the exact exchange for each method against a
// scripted server, the token command's failures, and what a refusal tells
// the user. The token never shows in the log or a message.

#include "FakePop3Server.h"
#include "LogLines.h"
#include "RunReception.h"
#include "common/SjisLiteral.h"
#include "jconvert/coders.h"
#include "mail/Sasl.h"
#include "mail/TokenCommand.h"

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using mail::Pop3Auth;
using mailtest::FakePop3Server;
using namespace mailtest::lines;

const std::string kGreeting = "+OK ready\r\n";
const std::string kRefused = "-ERR [AUTH] Authentication failed.\r\n";
const std::string kSaslCapa = "+OK\r\nUIDL\r\nSASL PLAIN XOAUTH2\r\n.\r\n";
const std::string kStatAndQuit = "STAT\r\nQUIT\r\n";

struct SignInCase {
    const char* name;
    Pop3Auth auth;
    std::string token; // printed by the token command
    std::vector<std::string> replies;
    std::string capa;
    // The client's side after CAPA; $R stands for the Base64 response.
    std::string transcript;
    std::string error = {}; // the start of the run's error
};

void PrintTo(const SignInCase& c, std::ostream* os)
{
    *os << c.name;
}

class SignIn : public testing::TestWithParam<SignInCase> { };

TEST_P(SignIn, ExchangeAndOutcome)
{
    const SignInCase& c = GetParam();
    FakePop3Server server(c.replies, FakePop3Server::After::Listen, c.capa);
    mail::ReceiveConfig config = mailtest::LoopbackConfig(server.port(), "u", "p w");
    config.auth = c.auth;
    config.tokenCommand = "echo " + c.token;
    config.readTimeoutMs = 3000;
    const mailtest::Reception r = mailtest::RunReception(config, "");
    const std::string secret = mail::UsesToken(c.auth) ? c.token : "p w";
    const std::string raw = c.auth == Pop3Auth::Plain ? std::string("\0u\0p w", 6)
        : c.auth == Pop3Auth::XOAuth2                 ? "user=u\x01"
                                                        "auth=Bearer "
            + c.token + "\x01\x01"
                                      : "n,a=u,\x01host=127.0.0.1\x01port=" + std::to_string(server.port())
            + "\x01"
              "auth=Bearer "
            + c.token + "\x01\x01";
    std::string expected = "CAPA\r\n" + c.transcript;
    if (const std::size_t at = expected.find("$R"); at != std::string::npos)
        expected.replace(at, 2, jconvert::EncodeBase64(raw));
    EXPECT_EQ(server.Transcript(), expected);
    EXPECT_EQ(r.error.substr(0, c.error.size()), c.error) << r.error;
    EXPECT_EQ(r.error.empty(), c.error.empty()) << r.error;
    for (const std::string& line : r.log)
        EXPECT_EQ(line.find(secret), std::string::npos) << line;
    EXPECT_EQ(r.error.find(secret), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Sasl, SignIn,
    testing::Values(SignInCase { "plain_with_initial_response", Pop3Auth::Plain, "",
                        { kGreeting, "+OK\r\n", "+OK 0 0\r\n" }, FakePop3Server::kNoCapa,
                        "AUTH PLAIN $R\r\n" + kStatAndQuit },
        SignInCase { "method_the_server_lacks", Pop3Auth::OAuthBearer, "tok", { kGreeting, "-ERR no\r\n" },
            kSaslCapa, "AUTH OAUTHBEARER $R\r\nQUIT\r\n",
            "no\r\n"
                + Sjis("このサーバーはこの認証方式に対応していません。対応している方式: PLAIN XOAUTH2") },
        // Refused passwords: the server's own words, then what the account
        // needs.
        SignInCase { "password_refused_where_tokens_are_offered", Pop3Auth::User, "",
            { kGreeting, "+OK\r\n", kRefused }, kSaslCapa, "USER u\r\nPASS p w\r\nQUIT\r\n",
            "[AUTH] Authentication failed.\r\n"
                + Sjis("このサーバーはトークンによるサインインに対応しています (XOAUTH2)") },
        SignInCase { "application_password_required", Pop3Auth::Plain, "",
            { kGreeting,
                "-ERR [AUTH] Application-specific password required: https://support.example/185833\r\n" },
            kSaslCapa, "AUTH PLAIN $R\r\nQUIT\r\n",
            "[AUTH] Application-specific password required: https://support.example/185833\r\n"
                + Sjis("このアカウントには、ふだんのパスワードではなくアプリ パスワードが必要です。") },
        SignInCase { "web_login_required", Pop3Auth::User, "",
            { kGreeting, "+OK\r\n", "-ERR [WEBALERT https://example/x] Web login required\r\n" },
            FakePop3Server::kNoCapa, "USER u\r\nPASS p w\r\nQUIT\r\n",
            "[WEBALERT https://example/x] Web login required\r\n"
                + Sjis("ブラウザーでのサインイン (本人確認) が求められています。") }),
    [](const auto& tpi) { return std::string(tpi.param.name); });

TEST(Sasl, OAuthBearerEscapesTheUserName)
{
    EXPECT_EQ(mail::SaslResponse(Pop3Auth::OAuthBearer, "a,b=", "t", "h", 1),
        "n,a=a=2Cb=3D,\x01host=h\x01port=1\x01"
        "auth=Bearer t\x01\x01");
}

// Nothing of the sign-in goes to a remote server over a clear connection:
// the run stops before the token command runs or the password is sent.
TEST(Sasl, NoPlainOrTokenInClearToAnotherMachine)
{
    std::string address;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) == 0) {
        for (ifaddrs* a = list; a != nullptr && address.empty(); a = a->ifa_next) {
            if (a->ifa_addr && a->ifa_addr->sa_family == AF_INET) {
                const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
                if ((ntohl(in->sin_addr.s_addr) >> 24) != 127)
                    address = inet_ntoa(in->sin_addr);
            }
        }
        ::freeifaddrs(list);
    }
    if (address.empty())
        GTEST_SKIP() << "no address but loopback";
    // A server on every address, reached through this machine's own one.
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in any {};
    any.sin_family = AF_INET;
    socklen_t length = sizeof any;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&any), sizeof any), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&any), &length), 0);
    std::thread server([listener] {
        pollfd p { listener, POLLIN, 0 };
        if (::poll(&p, 1, 5000) <= 0)
            return;
        const int fd = ::accept(listener, nullptr, nullptr);
        ::send(fd, "+OK\r\n-ERR\r\n", 11, MSG_NOSIGNAL);
        char sink[256];
        while (::recv(fd, sink, sizeof sink, 0) > 0) { }
        ::close(fd);
    });
    mail::ReceiveConfig config = mailtest::LoopbackConfig(ntohs(any.sin_port), "u", "p");
    config.host = address;
    config.auth = Pop3Auth::XOAuth2;
    config.tokenCommand = "no-such-token-helper";
    const mailtest::Reception r = mailtest::RunReception(config, "");
    server.join();
    ::close(listener);
    EXPECT_EQ(r.error,
        Sjis("PLAIN とトークンによる認証は、暗号化した接続でしか使えません。「暗号化」で "
             "STARTTLS か SSL/TLS を選んでください。"));
}

struct TokenCase {
    const char* command;
    int timeoutMs;
    std::string token; // or the error's start
    bool fails;
};

TEST(TokenCommand, FirstLineOrWhyNot)
{
    const TokenCase cases[] = {
        { "printf 'tok\\n2nd line\\n'", 3000, "tok", false },
        { "true", 3000, Sjis("トークン取得コマンドがトークンを出力しませんでした。"), true },
        // Standard error is no source of tokens, and is not passed on.
        { "sh -c 'echo tok >&2'", 3000, Sjis("トークン取得コマンドがトークンを出力しませんでした。"), true },
        { "sh -c 'echo tok; exit 3'", 3000, Sjis("トークン取得コマンドが失敗しました (終了ステータス 3)。"),
            true },
        { "sleep 30", 300, Sjis("トークン取得コマンドが 1 秒以内に終わりませんでした。"), true },
        { "echo 'a b'", 3000, Sjis("トークン取得コマンドの出力の 1 行目がアクセストークンではありません"),
            true },
        { "no-such-token-helper", 3000, Sjis("トークン取得コマンドを実行できません: "), true },
        { "echo 'open", 3000, Sjis("トークン取得コマンドの引用符が閉じられていません。"), true },
    };
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(c.command);
        const auto start = std::chrono::steady_clock::now();
        std::string got;
        bool failed = false;
        try {
            got = mail::RunTokenCommand(c.command, c.timeoutMs);
        } catch (const mail::MailError& e) {
            got = e.what();
            failed = true;
        }
        EXPECT_EQ(failed, c.fails);
        EXPECT_EQ(got.substr(0, c.token.size()), c.token);
        EXPECT_EQ(got.find("tok", c.token.size()), std::string::npos);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
}

} // namespace

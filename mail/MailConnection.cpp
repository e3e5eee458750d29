#include "mail/MailConnection.h"

#include "jconvert/coders.h"
#include "mail/MailError.h"
#include "mail/Sasl.h"
#include "mail/Texts.h"
#include "mail/TokenCommand.h"

namespace mail {

MailConnection::MailConnection(const Pop3Options& options, TcpConnection::StatusHandler onStatus)
    : options_(options)
    , onStatus_(std::move(onStatus))
{
}

void MailConnection::Prepare(std::size_t maxLineLength)
{
    // The run's time limit counts from the first connection, also across
    // the logon run's retries.
    if (!clockStarted_) {
        tcp_.StartRunClock(options_.runTimeLimitMs);
        clockStarted_ = true;
    }
    tcp_.SetReadTimeout(options_.readTimeoutMs);
    tcp_.SetMaxLineLength(maxLineLength);
    tcp_.SetLowSpeedLimit(options_.lowSpeedBytesPerSecond, options_.lowSpeedWindowMs);
}

void MailConnection::Open(std::size_t maxLineLength)
{
    if (options_.user.find_first_of("\r\n") != std::string::npos
        || options_.password.find_first_of("\r\n") != std::string::npos)
        throw MailError(texts::kLineBreakInLogin);
    if (options_.security != Pop3Security::None && !tls_)
        tls_.emplace(options_.caFile);
    Prepare(maxLineLength);
    tcp_.Open(options_.host, options_.port, options_.connectTimeoutMs, onStatus_);
    // A mode this client does not know is taken as the strictest.
    if (options_.security != Pop3Security::None && options_.security != Pop3Security::StartTls)
        StartTls();
}

void MailConnection::Adopt(int connectedSocket, std::size_t maxLineLength)
{
    Prepare(maxLineLength);
    tcp_.Adopt(connectedSocket);
}

void MailConnection::StartTls()
{
    if (!tls_)
        tls_.emplace(options_.caFile);
    tcp_.StartTls(*tls_, options_.host, options_.connectTimeoutMs);
}

std::string MailConnection::SaslSecret(Pop3Auth auth)
{
    if (!tcp_.IsSecure() && !tcp_.PeerIsLocal())
        throw MailError(texts::kAuthNeedsTls);
    return UsesToken(auth) ? RunTokenCommand(options_.tokenCommand, options_.tokenCommandTimeoutMs)
                           : options_.password;
}

std::string MailConnection::SaslResponse(std::optional<Pop3Auth> auth)
{
    const Pop3Auth method = auth.value_or(options_.auth);
    return jconvert::EncodeBase64(
        mail::SaslResponse(method, options_.user, SaslSecret(method), options_.host, options_.port));
}

std::string_view MailConnection::ErrorChallengeAnswer(Pop3Auth auth)
{
    return auth == Pop3Auth::XOAuth2 ? "" : auth == Pop3Auth::OAuthBearer ? "AQ==" : "*";
}

void MailConnection::RestartRunClock()
{
    tcp_.StartRunClock(options_.runTimeLimitMs);
    clockStarted_ = true;
}

} // namespace mail

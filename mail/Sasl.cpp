#include "mail/Sasl.h"

#include "jconvert/AsciiText.h"
#include "mail/Texts.h"

#include <algorithm>

namespace mail {

namespace {

bool Contains(std::string_view text, std::string_view word)
{
    if (word.size() > text.size())
        return false;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        if (jconvert::EqualsIgnoringAsciiCase(text.substr(i, word.size()), word))
            return true;
    }
    return false;
}

bool ContainsAny(std::string_view text, std::initializer_list<std::string_view> words)
{
    return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return Contains(text, w); });
}

bool Offers(std::span<const std::string> offered, std::string_view mechanism)
{
    return std::any_of(offered.begin(), offered.end(),
        [&](const std::string& m) { return jconvert::EqualsIgnoringAsciiCase(m, mechanism); });
}

// A user name inside OAUTHBEARER's GS2 header: "," and "=" escaped.
std::string Gs2Name(std::string_view user)
{
    std::string escaped;
    for (const char c : user) {
        if (c == ',')
            escaped += "=2C";
        else if (c == '=')
            escaped += "=3D";
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

std::string_view MechanismName(Pop3Auth auth)
{
    switch (auth) {
    case Pop3Auth::Plain:
        return "PLAIN";
    case Pop3Auth::XOAuth2:
        return "XOAUTH2";
    case Pop3Auth::OAuthBearer:
        return "OAUTHBEARER";
    case Pop3Auth::User:
        break;
    }
    return {};
}

bool UsesToken(Pop3Auth auth)
{
    return auth == Pop3Auth::XOAuth2 || auth == Pop3Auth::OAuthBearer;
}

std::string SaslResponse(
    Pop3Auth auth, std::string_view user, std::string_view secret, std::string_view host, int port)
{
    std::string response;
    switch (auth) {
    case Pop3Auth::Plain:
        // No authorisation identity: the account is the one signing in.
        response.append(1, '\0').append(user).append(1, '\0').append(secret);
        break;
    case Pop3Auth::XOAuth2:
        response.append("user=")
            .append(user)
            .append("\x01"
                    "auth=Bearer ")
            .append(secret)
            .append("\x01\x01");
        break;
    case Pop3Auth::OAuthBearer:
        response.append("n,a=")
            .append(Gs2Name(user))
            .append(",\x01"
                    "host=")
            .append(host);
        response
            .append("\x01"
                    "port=")
            .append(std::to_string(port));
        response
            .append("\x01"
                    "auth=Bearer ")
            .append(secret)
            .append("\x01\x01");
        break;
    case Pop3Auth::User:
        break;
    }
    return response;
}

std::string RefusalMessage(std::string_view serverText, Pop3Auth auth, std::span<const std::string> offered)
{
    std::string advice;
    if (ContainsAny(serverText,
            { "application-specific password", "app-specific password", "application specific password",
                "app password", "apppassword", "application password" })) {
        advice = texts::kNeedsAppPassword;
    } else if (ContainsAny(serverText,
                   { "web login", "webalert", "web browser", "log in via", "login via", "sign in via" })) {
        advice = texts::kNeedsWebLogin;
    } else if (auth != Pop3Auth::User && !offered.empty() && !Offers(offered, MechanismName(auth))) {
        advice = texts::kMechanismNotOffered;
        for (std::size_t i = 0; i < offered.size(); ++i)
            advice.append(i > 0 ? " " : "").append(offered[i]);
    } else if (UsesToken(auth)) {
        advice = texts::kTokenRefused;
    } else {
        std::string tokens;
        for (const std::string& m : offered) {
            if (Offers(std::span(&m, 1), "XOAUTH2") || Offers(std::span(&m, 1), "OAUTHBEARER"))
                tokens.append(tokens.empty() ? "" : " ").append(m);
        }
        if (!tokens.empty())
            advice = texts::kServerOffersToken + tokens + texts::kServerOffersTokenEnd;
    }
    std::string message(serverText);
    if (!advice.empty())
        message.append("\r\n").append(advice);
    return message;
}

} // namespace mail

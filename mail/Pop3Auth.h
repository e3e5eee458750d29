#pragma once

namespace mail {

// How the client signs in: USER and PASS, or AUTH (SASL, RFC 5034) with
// PLAIN, or with an OAuth 2.0 access token as XOAUTH2 or OAUTHBEARER
// (RFC 7628). The numbering is the order of the window's choice.
enum class Pop3Auth : int {
    User = 0,
    Plain = 1,
    XOAuth2 = 2,
    OAuthBearer = 3,
};

} // namespace mail

#pragma once

// What a SASL sign-in sends, and what a refused sign-in tells the user.

#include "mail/Pop3Options.h"

#include <span>
#include <string>
#include <string_view>

namespace mail {

// The mechanism's name in AUTH ("PLAIN", "XOAUTH2", "OAUTHBEARER"); empty
// for USER/PASS.
std::string_view MechanismName(Pop3Auth auth);

// Whether the method signs in with an access token.
bool UsesToken(Pop3Auth auth);

// The client's response before Base64: for PLAIN the user and the password
// (secret), for the token methods the user and the token (secret); host and
// port are those OAUTHBEARER names.
std::string SaslResponse(
    Pop3Auth auth, std::string_view user, std::string_view secret, std::string_view host, int port);

// The message of a refused sign-in: the server's own words, then, on a
// line of its own, what the account most likely needs where that can be
// told: an application password or a login in the browser (the server's
// words say so), a token method (the server offers one but a password was
// refused), a valid token (a token was refused), or another method (the
// one used is not among those the server lists).
std::string RefusalMessage(std::string_view serverText, Pop3Auth auth, std::span<const std::string> offered);

} // namespace mail

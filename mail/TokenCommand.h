#pragma once

// The access token for a sign-in with XOAUTH2 or OAUTHBEARER: the first line
// that a command of the user's choice (a token helper) prints. The command
// runs without a shell; its output is never shown or logged, and neither is
// anything of the token in a message.

#include <string>

namespace mail {

// Runs the command line (its words split as platform::SplitCommandLine
// does, the first looked up in PATH) with standard input empty and standard
// error dropped, and returns the first line of its standard output, trimmed
// of blanks. The helper is done when it exits: what it left running is
// ended with it and not waited for. Throws MailError when the line has an
// unclosed quote, the command cannot be started, has not ended within
// timeoutMs, ends with a failure, or prints nothing usable as a token.
std::string RunTokenCommand(const std::string& commandLine, int timeoutMs);

} // namespace mail

#pragma once

// The access token for a sign-in with XOAUTH2 or OAUTHBEARER: the first line
// that a command of the user's choice (a token helper) prints. The command
// runs without a shell; its output is never shown or logged, and neither is
// anything of the token in a message.

#include <string>
#include <string_view>
#include <vector>

namespace mail {

// The words of a command line: blanks separate words; inside '…' every
// character stands for itself; inside "…" a backslash keeps a following "
// or \; elsewhere a backslash keeps the next character. An unclosed quote
// throws MailError.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Runs the command line (the first word looked up in PATH) with standard
// input empty and standard error dropped, and returns the first line of its
// standard output, trimmed of blanks. Throws MailError when it cannot be
// started, has not ended within timeoutMs (it is then killed, with every
// process it started in its process group), ends with a failure, or prints
// nothing usable as a token.
std::string RunTokenCommand(const std::string& commandLine, int timeoutMs);

} // namespace mail

#include "mail/TokenCommand.h"

#include "jconvert/AsciiText.h"
#include "mail/MailError.h"
#include "mail/Texts.h"
#include "platform/CommandRunner.h"
#include "platform/SystemErrorText.h"

namespace mail {

std::string RunTokenCommand(const std::string& commandLine, int timeoutMs)
{
    bool unclosed = false;
    const std::vector<std::string> words = platform::SplitCommandLine(commandLine, unclosed);
    if (unclosed)
        throw MailError(texts::kTokenCommandUnclosedQuote);
    if (words.empty())
        throw MailError(texts::kNoTokenCommand);

    platform::RunOptions options;
    options.timeLimit = std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 24 * 3600 * 1000);
    // Whatever the helper says on standard error could hold the token too.
    options.dropErrorOutput = true;
    // More than any real token (a few kilobytes).
    options.outputLimit = 64 * 1024;
    // A helper is done when it exits; whatever it left running goes with it.
    options.endOrphans = true;
    const platform::CommandResult result = platform::ProcessRunner(options).Run(words);
    if (result.startError != 0)
        throw MailError(texts::kTokenCommandNotStarted + platform::SystemErrorText(result.startError));
    if (result.exitCode == 124)
        throw MailError(texts::kTokenCommandTimeout + std::to_string((timeoutMs + 999) / 1000)
            + texts::kTokenCommandTimeoutEnd);
    if (result.signal != 0)
        throw MailError(
            texts::kTokenCommandKilled + std::to_string(result.signal) + texts::kTokenCommandFailedEnd);
    if (result.exitCode != 0)
        throw MailError(
            texts::kTokenCommandFailed + std::to_string(result.exitCode) + texts::kTokenCommandFailedEnd);

    std::string_view token = result.output;
    token = jconvert::TrimBlanks(token.substr(0, token.find('\n')));
    if (token.empty())
        throw MailError(texts::kTokenCommandNoToken);
    // A token is printable ASCII; anything else would be sent into the
    // protocol as it is.
    for (const char c : token)
        if (c < 0x21 || c > 0x7e)
            throw MailError(texts::kTokenCommandBadToken);
    return std::string(token);
}

} // namespace mail

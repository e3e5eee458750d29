#pragma once

// The steps of a reception pass that do not depend on the protocol: the
// subject as the log shows it, a memo mail's body into the log and the memo,
// connecting while the network comes up, and a message as one log line. The
// IMAP pass uses them; they do what ReceiveRun does for POP3.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace mail {

class Message;
class ReceiveWindow;

// A message as one log line: its line breaks become blanks.
std::string OneLogLine(std::string_view text);

// The Shift_JIS subject the log shows and the keywords are tested against,
// from a raw Subject value: encoded-words in any common charset with MIME
// reading on, else DecodeSubject.
std::string ShownSubject(const std::string& rawSubject, bool decodeMime);

enum class MemoOutcome {
    Added,
    // The memo holds the body already.
    InMemo,
    // Nothing but line ends (or nothing readable): nothing added.
    NoText,
    // The memo would grow past maxMemoBytes: logged, nothing added.
    MemoFull,
};

// Logs the body of the whole memo mail msg line by line (or, first, why it
// cannot be read) and adds it to the memo unless the memo holds it already:
// as sent and converted to Shift_JIS, or read as MIME mail.
MemoOutcome TakeMemoMail(
    const Message& msg, bool decodeMime, std::size_t maxMemoBytes, ReceiveWindow& window);

// Calls connect until it does not throw ConnectError, for up to
// networkWaitMs (0: once), pausing 1, 2, 3 … s between tries and logging
// each failed one. Other errors, and the last ConnectError, pass on.
void ConnectWaitingForNetwork(const std::function<void()>& connect, int networkWaitMs, ReceiveWindow& window);

// Runs a reception pass with the receive button disabled. Whatever the
// pass throws ends it: close(true) runs (close(false) after a pass that
// ended well), the reason is logged as the run's last line, the button is
// enabled again and the exception passes on.
void RunPass(
    ReceiveWindow& window, const std::function<void()>& pass, const std::function<void(bool failed)>& close);

} // namespace mail

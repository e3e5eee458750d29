#pragma once

// One reception run: log in, count the messages, and for each one fetch its
// header, decode and log the subject and, when the subject begins with a
// keyword, fetch the whole message, log its body and add the body to the
// memo unless the memo already holds it. Nothing is deleted on the server,
// so the memo's content is what keeps a mail from being added twice; with
// remembering on, the server's unique ids of the mails added keep them from
// coming back even when their text has left the memo.

#include "mail/Pop3Client.h"
#include "mail/ReceiveConfig.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace mail {

class Message;
class ReceiveWindow;

class ReceiveRun {
public:
    ReceiveRun(ReceiveConfig config, ReceiveWindow& window);

    // The whole run, with the receive button disabled meanwhile. However it
    // ends, the connection is closed and the button enabled again before an
    // error is passed on, and the log's last line says that the run failed
    // and why; log lines and memo text added so far stay.
    void Run();

    // The ids to remember after the run: those remembered before that the
    // server still lists, and those of the mails this run added (or found
    // in the memo). Nothing when remembering is off or the server listed
    // no ids: the stored memory then stays as it is. Also after a failed
    // run, for what it received before failing.
    std::optional<std::vector<std::string>> RememberedIds() const;

private:
    void ListUniqueIds(int count);
    void ReceiveOneMail(int n);
    // The whole memo mail n (its header in msg) into the log and the memo.
    void ReceiveMemoMail(int n, Message& msg);
    // The id of message n when it is known and may be remembered; "" else.
    const std::string& UniqueId(int n) const;
    bool IsRemembered(int n) const;
    void Remember(int n);
    void IdPOP31Status(Pop3Status status);

    ReceiveConfig config_;
    ReceiveWindow& window_;
    Pop3Client client_;
    // The server's ids (with remembering on and UIDL answered).
    std::unordered_map<int, std::string> ids_;
    bool listed_ = false;
    std::unordered_set<std::string> remembered_;
    // The ids to store: kept from before, then added in this run.
    std::vector<std::string> kept_;
    std::size_t keptBytes_ = 0;
};

// The log line for a status event: "Status>" and the event's word, or its
// number for an event without one.
std::string StatusLogLine(int status);

// A subject decoded to JIS and converted to Shift_JIS still holds the
// three-byte escapes (ESC ( x, ESC $ x) that the decoder put after each word
// and the conversion passed through; this removes them and nothing else.
std::string RemoveEscapeSequences(std::string_view subject);

// Whether subject begins with keyword1 or keyword2, respecting double-byte
// characters. Empty keywords and an empty subject never match.
bool IsMemoSubject(std::string_view subject, std::string_view keyword1, std::string_view keyword2);

// The Shift_JIS subject the log shows and the keywords are tested against,
// from a raw Subject header value.
std::string DecodeSubject(const std::string& rawSubject);

} // namespace mail

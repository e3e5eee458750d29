#pragma once

// One IMAP reception pass with the effects of the POP3 run (ReceiveRun): the
// same log lines (status events, "メール件数", separators, "件名:", bodies,
// refusals), the same keyword test and body reading, and the memo's own
// duplicate check, driving the same ReceiveWindow. New mail is found by UID
// against a memory the caller keeps per account and folder
// (ImapMemory: UIDVALIDITY and the highest UID handled); a changed
// UIDVALIDITY reads the whole folder again. Nothing on the server changes.
//
// The connection may be kept open after a pass and held in IDLE until the
// server tells of new mail (WaitForNewMail), for a watcher that fetches it
// at once.

#include "mail/ImapClient.h"
#include "mail/ReceiveConfig.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace mail {

class ReceiveWindow;

// What an account's folder has had read, kept by the caller between passes.
struct ImapMemory {
    // The folder's UIDVALIDITY; 0: nothing remembered, the whole folder is
    // read.
    std::uint32_t uidValidity = 0;
    // Every message up to this UID has been handled; the next pass starts
    // after it.
    std::uint32_t highestUid = 0;

    bool operator==(const ImapMemory&) const = default;
};

class ImapReceive {
public:
    // config: as for the POP3 run, its port the IMAP one (ImapClient's
    // kDefaultPort or kDefaultTlsPort); remember, receivedIds and
    // maxRememberedBytes play no part (the memory is what remembers).
    // folder: Shift_JIS as the user typed it ("" is INBOX).
    ImapReceive(ReceiveConfig config, std::string folder, ImapMemory memory, ReceiveWindow& window);
    ~ImapReceive();
    ImapReceive(const ImapReceive&) = delete;
    ImapReceive& operator=(const ImapReceive&) = delete;

    // One pass, with the receive button disabled meanwhile: connects
    // (retrying for networkWaitMs) and opens the folder unless the
    // connection is still open from the pass before, then logs and fetches
    // the mail that is new against the memory. With keepOpen the connection
    // stays open (for WaitForNewMail or the next pass); otherwise, and
    // whenever the pass fails, it is closed. A failure ends the log with
    // "エラーのため受信を中止しました: " and the reason and is passed on;
    // log lines, memo text and the memory's progress so far stay.
    void Run(bool keepOpen = false);

    // The memory to store after a pass (also after a failed one).
    const ImapMemory& Memory() const noexcept { return memory_; }

    bool Connected() const noexcept { return client_.Connected(); }
    // Whether the server of the open connection offers IDLE; where it does
    // not, a watcher polls with passes instead.
    bool CanIdle() const { return client_.HasCapability("IDLE"); }
    // Holds the connection a pass kept open in IDLE until the server tells
    // of new mail, deadline passes or wakeFd (-1: none) becomes readable
    // (a pipe or eventfd the caller writes to on a signal or resume), and
    // says which. A plain blocking call; nothing is logged. Throws MailError
    // when the connection fails (it is then closed: the next Run connects
    // again) or the server lacks IDLE.
    ImapClient::Wake WaitForNewMail(std::chrono::steady_clock::time_point deadline, int wakeFd);

    // Logs out and closes the connection (with its status lines); never
    // throws.
    void Disconnect() noexcept { client_.Disconnect(); }

private:
    void Open();
    void ReceiveNewMail();
    void ReceiveMails(const std::vector<ImapClient::NewMail>& mails);
    // The whole memo mail into the log and the memo; false when it should
    // be read again by a later pass (not fetched, or the memo is full).
    bool ReceiveMemoMail(ImapClient::Body& body);

    ReceiveConfig config_;
    std::string folder_;
    ImapMemory memory_;
    ReceiveWindow& window_;
    ImapClient client_;
    ImapClient::Folder opened_;
    // The folder was opened by this pass: its UIDNEXT and count are current.
    bool fresh_ = false;
    // A message this pass could not finish: the memory stops before it.
    bool blocked_ = false;
};

} // namespace mail

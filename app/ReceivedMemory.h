#pragma once

// The memory of received mail: for each account (server, port, user; for
// IMAP also the folder) a small file beside the memo, "received-<hash>.txt",
// holding for POP3 the server's unique ids of the memo mails added, one a
// line, and for IMAP the folder's UIDVALIDITY and the highest UID handled. What a run remembers is kept
// here until the memo it belongs with has been saved, so that a mail is
// never remembered as received while its text exists nowhere but in an
// unsaved memo.

#include "mail/ImapReceive.h"
#include "mail/ReceiveConfig.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace app {

// The memory file of the account in folder (of an IMAP account, for its
// folder).
std::filesystem::path ReceivedMemoryFile(
    const std::filesystem::path& folder, const mail::ReceiveConfig& account);

class ReceivedMemory {
public:
    // With remembering on, puts the account's remembered ids into config:
    // those kept and not yet saved, else the file's (none without a file).
    // A file that cannot be read throws platform::FileIoError.
    void Prepare(const std::filesystem::path& folder, mail::ReceiveConfig& config) const;
    // Keeps what a run remembered (nothing to keep when ids is empty).
    void Keep(const std::filesystem::path& folder, const mail::ReceiveConfig& account,
        const std::optional<std::vector<std::string>>& ids);
    // The same for an IMAP account: with remembering on, what its folder
    // has had read (nothing without a file); with it off, nothing, so every
    // pass reads the whole folder.
    mail::ImapMemory PrepareImap(
        const std::filesystem::path& folder, const mail::ReceiveConfig& config) const;
    void KeepImap(const std::filesystem::path& folder, const mail::ReceiveConfig& config,
        const mail::ImapMemory& memory);
    // Writes what is kept, each file replaced atomically; call once the memo
    // is saved. A failure throws platform::FileIoError and keeps the rest.
    void Save();

private:
    struct Unsaved {
        std::string account; // the file's first line, for people
        std::vector<std::string> ids;
    };
    std::map<std::filesystem::path, Unsaved> unsaved_;
};

} // namespace app

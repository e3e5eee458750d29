#pragma once

// The memory of received mail: for each account (server, port, user) a small
// file beside the memo, "received-<hash>.txt", holding the server's unique
// ids of the memo mails added, one a line. What a run remembers is kept
// here until the memo it belongs with has been saved, so that a mail is
// never remembered as received while its text exists nowhere but in an
// unsaved memo.

#include "mail/ReceiveConfig.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace app {

// The memory file of the account in folder.
std::filesystem::path ReceivedMemoryFile(
    const std::filesystem::path& folder, const mail::Pop3Options& account);

class ReceivedMemory {
public:
    // With remembering on, puts the account's remembered ids into config:
    // those kept and not yet saved, else the file's (none without a file).
    // A file that cannot be read throws platform::FileIoError.
    void Prepare(const std::filesystem::path& folder, mail::ReceiveConfig& config) const;
    // Keeps what a run remembered (nothing to keep when ids is empty).
    void Keep(const std::filesystem::path& folder, const mail::Pop3Options& account,
        const std::optional<std::vector<std::string>>& ids);
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

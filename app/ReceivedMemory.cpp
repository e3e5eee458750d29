#include "app/ReceivedMemory.h"

#include "jconvert/AsciiText.h"
#include "jconvert/TextLines.h"
#include "platform/FileIo.h"

#include <cstdint>
#include <cstdio>

namespace app {

namespace {

// The account as people read it: "user@host:port", and "/folder" for IMAP.
std::string AccountName(const mail::ReceiveConfig& account)
{
    return account.user + "@" + account.host + ":" + std::to_string(account.port)
        + (account.protocol == mail::MailProtocol::Imap ? "/" + account.folder : std::string());
}

constexpr std::string_view kUidValidity = "UIDVALIDITY ";
constexpr std::string_view kUid = "UID ";

} // namespace

std::filesystem::path ReceivedMemoryFile(
    const std::filesystem::path& folder, const mail::ReceiveConfig& account)
{
    // FNV-1a over the account: a name of plain letters whatever the user and
    // server names hold. Host names are the same in any letter case.
    std::uint64_t hash = 14695981039346656037ull;
    auto add = [&hash](std::string_view bytes) {
        for (const char c : bytes) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
        hash ^= 0xff;
        hash *= 1099511628211ull;
    };
    add(jconvert::AsciiLowerCopy(account.host));
    add(std::to_string(account.port));
    add(account.user);
    if (account.protocol == mail::MailProtocol::Imap)
        add("imap:" + account.folder);
    char name[40];
    std::snprintf(name, sizeof name, "received-%016llx.txt", static_cast<unsigned long long>(hash));
    return folder / name;
}

void ReceivedMemory::Prepare(const std::filesystem::path& folder, mail::ReceiveConfig& config) const
{
    config.receivedIds.clear();
    if (!config.remember)
        return;
    const std::filesystem::path file = ReceivedMemoryFile(folder, config);
    if (const auto kept = unsaved_.find(file); kept != unsaved_.end()) {
        config.receivedIds = kept->second.ids;
        return;
    }
    const auto bytes = platform::ReadFileIfExists(file, platform::kSettingsReadLimit);
    if (!bytes)
        return;
    // Ids hold no blanks: the account line and anything else with one is
    // skipped.
    for (const std::string_view line : jconvert::SplitLines(*bytes)) {
        if (!line.empty() && line.find(' ') == std::string_view::npos)
            config.receivedIds.emplace_back(line);
    }
}

void ReceivedMemory::Keep(const std::filesystem::path& folder, const mail::ReceiveConfig& account,
    const std::optional<std::vector<std::string>>& ids)
{
    if (ids)
        unsaved_[ReceivedMemoryFile(folder, account)] = { "# " + AccountName(account), *ids };
}

mail::ImapMemory ReceivedMemory::PrepareImap(
    const std::filesystem::path& folder, const mail::ReceiveConfig& config) const
{
    mail::ImapMemory memory;
    if (!config.remember)
        return memory;
    std::vector<std::string> lines;
    const std::filesystem::path file = ReceivedMemoryFile(folder, config);
    if (const auto kept = unsaved_.find(file); kept != unsaved_.end()) {
        lines = kept->second.ids;
    } else if (const auto bytes = platform::ReadFileIfExists(file, platform::kSettingsReadLimit)) {
        lines = jconvert::SplitLines<std::string>(*bytes);
    }
    for (const std::string_view line : lines) {
        const auto number = [&line](std::string_view name) {
            return static_cast<std::uint32_t>(
                jconvert::ParseDigits(line.substr(name.size()), UINT32_MAX).value_or(0));
        };
        if (line.starts_with(kUidValidity))
            memory.uidValidity = number(kUidValidity);
        else if (line.starts_with(kUid))
            memory.highestUid = number(kUid);
    }
    return memory;
}

void ReceivedMemory::KeepImap(
    const std::filesystem::path& folder, const mail::ReceiveConfig& config, const mail::ImapMemory& memory)
{
    if (config.remember)
        unsaved_[ReceivedMemoryFile(folder, config)] = { "# " + AccountName(config),
            { std::string(kUidValidity) + std::to_string(memory.uidValidity),
                std::string(kUid) + std::to_string(memory.highestUid) } };
}

void ReceivedMemory::Save()
{
    while (!unsaved_.empty()) {
        const auto& [file, memory] = *unsaved_.begin();
        std::string text = memory.account + "\r\n";
        for (const std::string& id : memory.ids)
            text.append(id).append("\r\n");
        platform::ReplacePrivateFile(file, text, platform::kSettingsReadLimit);
        unsaved_.erase(unsaved_.begin());
    }
}

} // namespace app

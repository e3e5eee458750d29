#include "platform/SessionRecord.h"

#include "jconvert/TextLines.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>

namespace platform {
namespace {

// What a program needs to reach the session's display, its desktop and its
// message bus.
constexpr std::array<std::string_view, 8> kSessionVariables = { "DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY",
    "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "XDG_SESSION_TYPE", "SWAYSOCK", "DBUS_SESSION_BUS_ADDRESS" };

bool IsSessionVariable(std::string_view name)
{
    return std::find(kSessionVariables.begin(), kSessionVariables.end(), name) != kSessionVariables.end();
}

} // namespace

std::filesystem::path SessionRecordFile(const UserFolders& folders)
{
    const std::filesystem::path own = folders.OwnConfig();
    return own.empty() ? std::filesystem::path() : own / "session.txt";
}

std::string SessionRecord(const EnvironmentLookup& variable)
{
    if (variable("DISPLAY").empty() && variable("WAYLAND_DISPLAY").empty())
        return {};
    std::string record;
    for (const std::string_view name : kSessionVariables) {
        const std::string value = variable(std::string(name));
        // A value that would break its line is not kept.
        if (!value.empty() && value.find_first_of("\r\n") == std::string::npos)
            record.append(name).append("=").append(value).append("\n");
    }
    return record;
}

void KeepSessionRecord(const std::filesystem::path& file, const EnvironmentLookup& variable)
{
    const std::string record = SessionRecord(variable);
    if (file.empty() || record.empty())
        return;
    std::optional<std::string> kept;
    try {
        kept = ReadFileIfExists(file, kSmallFileReadLimit);
    } catch (const FileIoError&) {
        // Unreadable: written anew below.
    }
    // A record left readable by others (by an older version) is written
    // again, private, even where it is unchanged.
    std::error_code ec;
    const auto others = std::filesystem::perms::group_all | std::filesystem::perms::others_all;
    const auto status = std::filesystem::status(file, ec);
    const bool open = !ec && std::filesystem::is_regular_file(status)
        && (status.permissions() & others) != std::filesystem::perms::none;
    if (kept != record || open) {
        // A folder that cannot be made shows as the write's own error.
        std::error_code ignored;
        std::filesystem::create_directories(file.parent_path(), ignored);
        ReplacePrivateFile(file, record, kSmallFileReadLimit);
    }
}

std::vector<std::pair<std::string, std::string>> MissingSessionVariables(
    const std::filesystem::path& file, const EnvironmentLookup& variable)
{
    std::optional<std::string> kept;
    try {
        kept = file.empty() ? std::nullopt : ReadFileIfExists(file, kSmallFileReadLimit);
    } catch (const FileIoError&) {
    }
    std::vector<std::pair<std::string, std::string>> missing;
    if (!kept)
        return missing;
    for (const std::string_view line : jconvert::SplitLines(*kept)) {
        const auto pair = jconvert::SplitKeyValue(line);
        std::string name(pair ? pair->key : std::string_view());
        if (pair && IsSessionVariable(name) && variable(name).empty())
            missing.emplace_back(std::move(name), std::string(pair->value));
    }
    return missing;
}

} // namespace platform

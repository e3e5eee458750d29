#include "app/SettingsStore.h"

#include "app/IniLines.h"
#include "app/SettingsKey.h"
#include "jconvert/TextLines.h"
#include "jconvert/cp932.h"
#include "platform/FileIo.h"

namespace app {

const std::vector<std::string>& SettingsFileHeader()
{
    static const std::vector<std::string> header {
        "#--------------------------------------------------------------",
        jconvert::Utf8ToCp932("#「CorkpaneⅡ」設定ファイル"),
        jconvert::Utf8ToCp932("#※「PassWord」は、暗号化しているので書き換えは不可！"),
        "#--------------------------------------------------------------",
        "",
    };
    return header;
}

void LoadSettings(const std::filesystem::path& folder, Settings& settings, std::string& memo,
    const MessageCallback& message)
{
    if (auto bytes = platform::ReadFileIfExists(folder / kMemoFileName, platform::kMemoReadLimit))
        memo = jconvert::WithCrLfLineEnds(*bytes);

    // Stands until a stored password is read or one is typed.
    settings.Password = "qqqqq";

    const auto bytes = platform::ReadFileIfExists(folder / kSettingsFileName, platform::kSettingsReadLimit);
    if (!bytes)
        return;
    const IniLines lines = IniLines::Parse(*bytes);
    for (const SettingsKey& key : SettingsKey::All())
        key.Read(settings, lines.Value(key.key), message);
}

void SaveSettings(const std::filesystem::path& folder, const Settings& settings, const std::string& memo,
    const MessageCallback& message)
{
    platform::ReplaceFile(folder / kMemoFileName, memo, platform::kMemoReadLimit);

    const auto file = folder / kSettingsFileName;
    const auto bytes = platform::ReadFileIfExists(file, platform::kSettingsReadLimit);
    IniLines lines = bytes ? IniLines::Parse(*bytes) : IniLines(SettingsFileHeader());
    for (const SettingsKey& key : SettingsKey::All())
        lines.Set(key.key, key.Written(settings, message));
    platform::ReplaceFile(file, lines.Serialize(), platform::kSettingsReadLimit);
}

} // namespace app

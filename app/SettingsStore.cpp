#include "app/SettingsStore.h"

#include "app/FileAccess.h"
#include "app/IniLines.h"
#include "app/SettingsKey.h"
#include "platform/FileIo.h"

namespace app {

const std::vector<std::string>& SettingsFileHeader()
{
    static const std::vector<std::string> header {
        "#--------------------------------------------------------------",
        "#\x81\x75"
        "Corkpane\x87\x55\x81\x76\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b" /* #「CorkpaneⅡ」設定ファイル
                                                                                    */
        ,
        "#\x81\xa6\x81\x75"
        "PassWord\x81\x76\x82\xcd\x81\x41\x88\xc3\x8d\x86\x89\xbb\x82\xb5\x82\xc4\x82\xa2\x82\xe9"
        "\x82\xcc\x82\xc5\x8f\x91\x82\xab\x8a\xb7\x82\xa6\x82\xcd\x95\x73\x89\xc2\x81\x49" /* #※「PassWord」は、暗号化しているので書き換えは不可！
                                                                                            */
        ,
        "#--------------------------------------------------------------",
        "",
    };
    return header;
}

std::string WithCrLfLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void LoadSettings(const std::filesystem::path& folder, Settings& settings, std::string& memo,
    const MessageCallback& message)
{
    if (auto bytes = ReadFileIfExists(folder / kMemoFileName, platform::kMemoReadLimit))
        memo = WithCrLfLineEnds(*bytes);

    // Stands until a stored password is read or one is typed.
    settings.Password = "qqqqq";

    const auto bytes = ReadFileIfExists(folder / kSettingsFileName, platform::kSettingsReadLimit);
    if (!bytes)
        return;
    const IniLines lines = IniLines::parse(*bytes);
    for (const SettingsKey& key : SettingsKey::all())
        key.read(settings, lines.value(key.key), message);
}

void SaveSettings(const std::filesystem::path& folder, const Settings& settings, const std::string& memo,
    const MessageCallback& message)
{
    WriteFileAtomically(folder / kMemoFileName, memo);

    const auto file = folder / kSettingsFileName;
    const auto bytes = ReadFileIfExists(file, platform::kSettingsReadLimit);
    IniLines lines = bytes ? IniLines::parse(*bytes) : IniLines(SettingsFileHeader());
    for (const SettingsKey& key : SettingsKey::all())
        lines.set(key.key, key.written(settings, message));
    WriteFileAtomically(file, lines.serialize());
}

} // namespace app

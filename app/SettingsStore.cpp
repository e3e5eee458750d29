#include "app/SettingsStore.h"

#include "app/IniLines.h"
#include "app/SettingsKey.h"
#include "app/Texts.h"
#include "jconvert/TextLines.h"
#include "jconvert/cp932.h"
#include "platform/FileIo.h"
#include "platform/UserError.h"

#include <optional>

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
    const MessageCallback& message, UnreadFiles* unread)
{
    std::optional<platform::FileIoError> memoFailure;
    try {
        if (auto bytes = platform::ReadFileIfExists(folder / kMemoFileName, platform::kMemoReadLimit))
            memo = jconvert::WithCrLfLineEnds(*bytes);
    } catch (const platform::FileIoError& failure) {
        memoFailure = failure;
    }

    // Stands until a stored password is read or one is typed.
    settings.Password = kPasswordPlaceholder;

    std::optional<platform::FileIoError> settingsFailure;
    std::optional<std::string> bytes;
    try {
        bytes = platform::ReadFileIfExists(folder / kSettingsFileName, platform::kSettingsReadLimit);
    } catch (const platform::FileIoError& failure) {
        settingsFailure = failure;
    }
    if (bytes) {
        const IniLines lines = IniLines::Parse(*bytes);
        for (const SettingsKey& key : SettingsKey::All())
            key.Read(settings, lines.Value(key.key), message);
    }

    if (unread) {
        unread->memo = memoFailure.has_value();
        unread->settings = settingsFailure.has_value();
    }
    std::string text;
    int error = 0;
    for (const auto* failure : { &memoFailure, &settingsFailure }) {
        if (!*failure)
            continue;
        // The reason may come from the C library without a full stop.
        std::string line = (*failure)->what();
        if (!line.ends_with(texts::kFullStop))
            line += texts::kFullStop;
        text += (text.empty() ? "" : "\r\n") + line + texts::kNotOverwritten;
        error = error != 0 ? error : (*failure)->SystemError();
    }
    if (!text.empty())
        throw platform::FileIoError(text, error);
}

void SaveSettings(const std::filesystem::path& folder, const Settings& settings, const std::string& memo,
    const MessageCallback& message, const UnreadFiles& unread, bool passwordInKeyring)
{
    if (!unread.memo)
        platform::ReplaceFile(folder / kMemoFileName, memo, platform::kMemoReadLimit);
    if (unread.settings)
        return;

    const auto file = folder / kSettingsFileName;
    const auto bytes = platform::ReadFileIfExists(file, platform::kSettingsReadLimit);
    IniLines lines = bytes ? IniLines::Parse(*bytes) : IniLines(SettingsFileHeader());
    for (const SettingsKey& key : SettingsKey::All()) {
        if (key.kind == SettingsKey::Kind::Password) {
            if (passwordInKeyring) {
                lines.Set(key.key, "");
                continue;
            }
            // What the scrambled form cannot give back stays as it is stored.
            if (!ScrambleKeepsPassword(settings.*key.text))
                continue;
        }
        lines.Set(key.key, key.Written(settings, message));
    }
    platform::ReplacePrivateFile(file, lines.Serialize(), platform::kSettingsReadLimit);
}

PasswordPlace StorePassword(const std::filesystem::path& folder, const std::string& password, bool useKeyring,
    std::chrono::milliseconds timeLimit)
{
    Settings settings;
    std::string memo;
    LoadSettings(folder, settings, memo);
    settings.Password = password;
    KeyringPassword keyring(timeLimit);
    const bool inKeyring = useKeyring && keyring.Answers() && keyring.Store(settings);
    if (!inKeyring && !ScrambleKeepsPassword(password))
        throw platform::UserError(texts::kPasswordNotKept);
    SaveSettings(folder, settings, memo, {}, UnreadFiles { .memo = true }, inKeyring);
    return inKeyring ? PasswordPlace::kKeyring : PasswordPlace::kSettingsFile;
}

} // namespace app

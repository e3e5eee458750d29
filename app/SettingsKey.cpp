#include "app/SettingsKey.h"

#include "app/NumberBox.h"
#include "jconvert/AsciiText.h"
#include "jconvert/cp932.h"

#include <array>
#include <vector>

namespace app {
namespace {

using K = SettingsKey::Kind;

// Keys and texts are written here in UTF-8 and stored in Shift_JIS.
std::string Sjis(std::string_view utf8)
{
    return jconvert::Utf8ToCp932(utf8);
}

// The sign-in methods as "POP3Auth1" stores them, in the order of
// mail::Pop3Auth.
constexpr std::array<std::string_view, 4> kAuthWords { "user", "plain", "xoauth2", "oauthbearer" };
// The protocols as "POP3Protocol1" stores them, in the order of
// mail::MailProtocol.
constexpr std::array<std::string_view, 2> kProtocolWords { "pop3", "imap" };

std::vector<SettingsKey> MakeKeys()
{
    // clang-format off
    std::vector<SettingsKey> keys = {
        {.key = Sjis("接続先1"), .control = "LBoxSetuzokuSaki", .kind = K::List, .initial = Sjis("サーバー１")},
        {.key = "POP3Host1", .control = "EdHost", .kind = K::Text, .initial = Sjis("サーバー名をここに入力"),
            .text = &Settings::EdHost, .hint = true},
        {.key = "User1", .control = "EdUser", .kind = K::Text, .initial = Sjis("ユーザー名をここに入力"),
            .text = &Settings::EdUser, .hint = true},
        // Empty in a new window; LoadSettings puts a placeholder here before
        // it reads the stored one.
        {.key = "PassWord1", .control = "Password", .kind = K::Password, .initial = "",
            .text = &Settings::Password},
        {.key = Sjis("キーワード１"), .control = "EdKeyWord1", .kind = K::Text, .initial = Sjis("メモ"),
            .text = &Settings::EdKeyWord1},
        {.key = Sjis("キーワード２"), .control = "EdKeyWord2", .kind = K::Text, .initial = Sjis("めも"),
            .text = &Settings::EdKeyWord2},
        {.key = Sjis("１行文字数"), .control = "EdMojiSu", .kind = K::Number, .initial = "15",
            .box = &Settings::EdMojiSu, .fallback = 10},
        {.key = Sjis("行数"), .control = "EdGyosu", .kind = K::Number, .initial = "20",
            .box = &Settings::EdGyosu, .fallback = 10},
        {.key = Sjis("フォントサイズ"), .control = "EdFontSize", .kind = K::Number, .initial = "15",
            .box = &Settings::EdFontSize, .fallback = 15},
        {.key = Sjis("行間"), .control = "EdGyokan", .kind = K::Number, .initial = "4",
            .box = &Settings::EdGyokan, .fallback = 4},
        {.key = Sjis("上余白"), .control = "EdUeYohaku", .kind = K::Number, .initial = "10",
            .box = &Settings::EdUeYohaku, .fallback = 10},
        {.key = Sjis("右余白"), .control = "EdMigiYohaku", .kind = K::Number, .initial = "300",
            .box = &Settings::EdMigiYohaku, .fallback = 10},
        {.key = Sjis("文字色"), .control = "LbMojiIro", .kind = K::Colour, .initial = "65280", // lime
            .number = &Settings::LbMojiIro},
        {.key = Sjis("影文字"), .control = "RgKage", .kind = K::Radio, .initial = "0",
            .number = &Settings::RgKage, .radioItems = kRgKageItems},
        {.key = Sjis("影色"), .control = "LbKageIro", .kind = K::Colour, .initial = "12632256", // silver
            .number = &Settings::LbKageIro},
        {.key = Sjis("タイトル表示"), .control = "RgTitle", .kind = K::Radio, .initial = "1",
            .number = &Settings::RgTitle, .radioItems = kRgTitleItems},
        {.key = Sjis("メモタイトル"), .control = "EdTitle", .kind = K::Text, .initial = Sjis("忘れずに！"),
            .text = &Settings::EdTitle},
        {.key = Sjis("メモ表示"), .control = "ChShowMemo", .kind = K::Tick, .initial = "0",
            .tick = &Settings::ChShowMemo},
        {.key = Sjis("文字背景％"), .control = "EdRitu", .kind = K::Number, .initial = "50",
            .box = &Settings::EdRitu, .fallback = 0},
        {.key = Sjis("文字背景色"), .control = "RgHaikei", .kind = K::Radio, .initial = "0",
            .number = &Settings::RgHaikei, .radioItems = kRgHaikeiItems},
        {.key = Sjis("週予定表示日"), .control = "EdScW", .kind = K::Number, .initial = "1",
            .box = &Settings::EdScW, .fallback = 1},
        {.key = Sjis("月予定表示日"), .control = "EdScM", .kind = K::Number, .initial = "3",
            .box = &Settings::EdScM, .fallback = 3},
        {.key = Sjis("記念日表示日"), .control = "EdScY", .kind = K::Number, .initial = "5",
            .box = &Settings::EdScY, .fallback = 3},
        {.key = Sjis("指定日表示日"), .control = "EdScD", .kind = K::Number, .initial = "10",
            .box = &Settings::EdScD, .fallback = 3},
        {.key = Sjis("ｽｹｼﾞｭｰﾙﾒﾓ表示"), .control = "ChScMemo", .kind = K::Tick, .initial = "1",
            .tick = &Settings::ChScMemo},
        {.key = Sjis("ｽｹｼﾞｭｰﾙｶﾚﾝﾀﾞｰ表示"), .control = "ChScCal", .kind = K::Tick, .initial = "0",
            .tick = &Settings::ChScCal},
        // Kept after the original keys so that older files stay in their order.
        {.key = "POP3Port1", .control = "EdPort", .kind = K::Number, .initial = "110", .box = &Settings::EdPort, .fallback = 0},
        {.key = Sjis("スタートアップ受信"), .control = "RgReceive", .kind = K::Radio, .initial = "0",
            .number = &Settings::RgReceive, .radioItems = kRgReceiveItems},
        // A file without it keeps receiving as before, without encryption.
        {.key = "POP3Security1", .control = "RgSecurity", .kind = K::Radio, .initial = "0",
            .number = &Settings::RgSecurity, .radioItems = kRgSecurityItems},
        // On in a new set-up; a file without it keeps taking mail bodies as
        // sent.
        {.key = Sjis("MIME解読"), .control = "ChMimeKaidoku", .kind = K::LaterTick, .initial = "1",
            .tick = &Settings::ChMimeKaidoku},
        // On in a new set-up; a file without it keeps its schedule lines as
        // they were, without holidays.
        {.key = Sjis("祝日表示"), .control = "ChShukujitsu", .kind = K::LaterTick, .initial = "1",
            .tick = &Settings::ChShukujitsu},
        // On in a new set-up; a file without it keeps receiving as before.
        {.key = "POP3Remember1", .control = "ChRemember", .kind = K::LaterTick, .initial = "1",
            .tick = &Settings::ChRemember},
        {.key = "POP3Auth1", .control = "CbAuth", .kind = K::Choice, .initial = "user",
            .number = &Settings::CbAuth, .choices = kAuthWords},
        {.key = "POP3TokenCommand1", .control = "EdTokenCommand", .kind = K::Text, .initial = "",
            .text = &Settings::EdTokenCommand},
        {.key = "POP3Protocol1", .control = "CbProtocol", .kind = K::Choice, .initial = "pop3",
            .number = &Settings::CbProtocol, .choices = kProtocolWords},
        {.key = "IMAPFolder1", .control = "EdFolder", .kind = K::Text, .initial = "INBOX",
            .text = &Settings::EdFolder},
        // 15 minutes in a new set-up; a file without it receives only at
        // logon and on the button, as before.
        {.key = Sjis("受信間隔"), .control = "EdInterval", .kind = K::Number, .initial = "15",
            .box = &Settings::EdInterval, .fallback = 0},
    };
    // clang-format on
    for (int i = 0; i < kMaxCalendars; ++i)
        keys.push_back({ .key = "CalendarURL" + std::to_string(i + 1),
            .control = "LbCalendars",
            .kind = K::ListEntry,
            .initial = "",
            .list = &Settings::LbCalendars,
            .entry = i });
    return keys;
}

} // namespace

std::span<const SettingsKey> SettingsKey::All()
{
    static const std::vector<SettingsKey> keys = MakeKeys();
    return keys;
}

void SettingsKey::Read(Settings& settings, std::string_view value, const MessageCallback& message) const
{
    switch (kind) {
    case Kind::List:
        settings.LBoxSetuzokuSaki.emplace_back(value);
        break;
    case Kind::Text:
        settings.*text = std::string(value);
        break;
    case Kind::Number:
        (settings.*box).SetText(std::string(value));
        break;
    case Kind::Password:
        settings.*text = UnscramblePassword(value, message);
        break;
    case Kind::Colour:
        settings.*number = ParseInteger(value);
        break;
    case Kind::Radio:
        settings.*number = ClampRadioIndex(ParseInteger(value), radioItems);
        break;
    case Kind::Tick:
        settings.*tick = value != "0";
        break;
    case Kind::LaterTick:
        settings.*tick = !value.empty() && value != "0";
        break;
    case Kind::Choice:
        settings.*number = ChoiceIndex(value);
        break;
    case Kind::ListEntry:
        // The first entry's key starts the list afresh.
        if (entry == 0)
            (settings.*list).clear();
        if (!value.empty())
            (settings.*list).emplace_back(value);
        break;
    }
}

int SettingsKey::ChoiceIndex(std::string_view word) const
{
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (jconvert::EqualsIgnoringAsciiCase(jconvert::TrimBlanks(word), choices[i]))
            return static_cast<int>(i);
    }
    return 0;
}

std::string_view SettingsKey::ChoiceWord(int index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < choices.size()
        ? choices[static_cast<std::size_t>(index)]
        : choices.front();
}

std::string SettingsKey::Written(const Settings& settings, const MessageCallback& message) const
{
    switch (kind) {
    case Kind::List:
        return settings.LBoxSetuzokuSaki.empty() ? std::string() : settings.LBoxSetuzokuSaki.front();
    case Kind::Text:
        return settings.*text;
    case Kind::Number:
        return (settings.*box).Text();
    case Kind::Password:
        return ScramblePassword(settings.*text, message);
    case Kind::Colour:
        return std::to_string(settings.*number);
    case Kind::Radio:
        // A group holds no index outside its items; -1 is "none selected".
        return std::to_string(ClampRadioIndex(settings.*number, radioItems));
    case Kind::Tick:
        return settings.*tick ? "1" : "0";
    case Kind::LaterTick:
        return settings.*tick ? "1" : "";
    case Kind::Choice:
        return settings.*number > 0 ? std::string(ChoiceWord(settings.*number)) : std::string();
    case Kind::ListEntry:
        return ListEntryOf(settings);
    }
    return {};
}

std::string SettingsKey::Shown(const Settings& settings) const
{
    switch (kind) {
    case Kind::List: {
        std::string joined;
        for (std::size_t i = 0; i < settings.LBoxSetuzokuSaki.size(); ++i) {
            if (i > 0)
                joined += '|';
            joined += settings.LBoxSetuzokuSaki[i];
        }
        return joined;
    }
    case Kind::Text:
    case Kind::Password:
        return settings.*text;
    case Kind::Number:
        return (settings.*box).Text();
    case Kind::Colour:
    case Kind::Radio:
        return std::to_string(settings.*number);
    case Kind::Tick:
    case Kind::LaterTick:
        return settings.*tick ? "1" : "0";
    case Kind::Choice:
        return std::string(ChoiceWord(settings.*number));
    case Kind::ListEntry:
        return ListEntryOf(settings);
    }
    return {};
}

std::string SettingsKey::ListEntryOf(const Settings& settings) const
{
    const std::vector<std::string>& entries = settings.*list;
    return static_cast<std::size_t>(entry) < entries.size() ? entries[static_cast<std::size_t>(entry)]
                                                            : std::string();
}

void SettingsKey::SetInitial(Settings& settings) const
{
    switch (kind) {
    case Kind::List:
        settings.LBoxSetuzokuSaki = { initial };
        break;
    case Kind::Text:
    case Kind::Password:
        settings.*text = initial;
        break;
    case Kind::Number:
        settings.*box = NumberBox(initial, fallback);
        break;
    case Kind::Colour:
    case Kind::Radio:
        settings.*number = ParseInteger(initial);
        break;
    case Kind::Tick:
    case Kind::LaterTick:
        settings.*tick = initial == "1";
        break;
    case Kind::Choice:
        settings.*number = ChoiceIndex(initial);
        break;
    case Kind::ListEntry:
        if (entry == 0)
            (settings.*list).clear();
        break;
    }
}

Settings::Settings()
{
    for (const SettingsKey& key : SettingsKey::All())
        key.SetInitial(*this);
}

} // namespace app

#include "app/SettingsKey.h"

#include "app/IntegerText.h"

namespace app {
namespace {

using K = SettingsKey::Kind;

// clang-format off
const SettingsKey kKeys[] = {
    {"\x90\xda\x91\xb1\x90\xe6" "1" /* 接続先1 */, "LBoxSetuzokuSaki", K::List},
    {"POP3Host1", "EdHost", K::Text, &Settings::EdHost},
    {"User1", "EdUser", K::Text, &Settings::EdUser},
    {"PassWord1", "Password", K::Password, &Settings::Password},
    {"\x83\x4c\x81\x5b\x83\x8f\x81\x5b\x83\x68\x82\x50" /* キーワード１ */, "EdKeyWord1", K::Text, &Settings::EdKeyWord1},
    {"\x83\x4c\x81\x5b\x83\x8f\x81\x5b\x83\x68\x82\x51" /* キーワード２ */, "EdKeyWord2", K::Text, &Settings::EdKeyWord2},
    {"\x82\x50\x8d\x73\x95\xb6\x8e\x9a\x90\x94" /* １行文字数 */, "EdMojiSu", K::Text, &Settings::EdMojiSu},
    {"\x8d\x73\x90\x94" /* 行数 */, "EdGyosu", K::Text, &Settings::EdGyosu},
    {"\x83\x74\x83\x48\x83\x93\x83\x67\x83\x54\x83\x43\x83\x59" /* フォントサイズ */, "EdFontSize", K::Text, &Settings::EdFontSize},
    {"\x8d\x73\x8a\xd4" /* 行間 */, "EdGyokan", K::Text, &Settings::EdGyokan},
    {"\x8f\xe3\x97\x5d\x94\x92" /* 上余白 */, "EdUeYohaku", K::Text, &Settings::EdUeYohaku},
    {"\x89\x45\x97\x5d\x94\x92" /* 右余白 */, "EdMigiYohaku", K::Text, &Settings::EdMigiYohaku},
    {"\x95\xb6\x8e\x9a\x90\x46" /* 文字色 */, "LbMojiIro", K::Colour, nullptr, &Settings::LbMojiIro},
    {"\x89\x65\x95\xb6\x8e\x9a" /* 影文字 */, "RgKage", K::Radio, nullptr, &Settings::RgKage, nullptr, kRgKageItems},
    {"\x89\x65\x90\x46" /* 影色 */, "LbKageIro", K::Colour, nullptr, &Settings::LbKageIro},
    {"\x83\x5e\x83\x43\x83\x67\x83\x8b\x95\x5c\x8e\xa6" /* タイトル表示 */, "RgTitle", K::Radio, nullptr, &Settings::RgTitle, nullptr, kRgTitleItems},
    {"\x83\x81\x83\x82\x83\x5e\x83\x43\x83\x67\x83\x8b" /* メモタイトル */, "EdTitle", K::Text, &Settings::EdTitle},
    {"\x83\x81\x83\x82\x95\x5c\x8e\xa6" /* メモ表示 */, "ChShowMemo", K::Tick, nullptr, nullptr, &Settings::ChShowMemo},
    {"\x95\xb6\x8e\x9a\x94\x77\x8c\x69\x81\x93" /* 文字背景％ */, "EdRitu", K::Text, &Settings::EdRitu},
    {"\x95\xb6\x8e\x9a\x94\x77\x8c\x69\x90\x46" /* 文字背景色 */, "RgHaikei", K::Radio, nullptr, &Settings::RgHaikei, nullptr, kRgHaikeiItems},
    {"\x8f\x54\x97\x5c\x92\xe8\x95\x5c\x8e\xa6\x93\xfa" /* 週予定表示日 */, "EdScW", K::Text, &Settings::EdScW},
    {"\x8c\x8e\x97\x5c\x92\xe8\x95\x5c\x8e\xa6\x93\xfa" /* 月予定表示日 */, "EdScM", K::Text, &Settings::EdScM},
    {"\x8b\x4c\x94\x4f\x93\xfa\x95\x5c\x8e\xa6\x93\xfa" /* 記念日表示日 */, "EdScY", K::Text, &Settings::EdScY},
    {"\x8e\x77\x92\xe8\x93\xfa\x95\x5c\x8e\xa6\x93\xfa" /* 指定日表示日 */, "EdScD", K::Text, &Settings::EdScD},
    {"\xbd\xb9\xbc\xde\xad\xb0\xd9\xd2\xd3\x95\x5c\x8e\xa6" /* ｽｹｼﾞｭｰﾙﾒﾓ表示 */, "ChScMemo", K::Tick, nullptr, nullptr, &Settings::ChScMemo},
    {"\xbd\xb9\xbc\xde\xad\xb0\xd9\xb6\xda\xdd\xc0\xde\xb0\x95\x5c\x8e\xa6" /* ｽｹｼﾞｭｰﾙｶﾚﾝﾀﾞｰ表示 */, "ChScCal", K::Tick, nullptr, nullptr, &Settings::ChScCal},
    // Kept after the original keys so that older files stay in their order.
    {"POP3Port1", "EdPort", K::Text, &Settings::EdPort},
    {"\x83\x58\x83\x5e\x81\x5b\x83\x67\x83\x41\x83\x62\x83\x76\x8e\xf3\x90\x4d" /* スタートアップ受信 */, "RgReceive", K::Radio, nullptr, &Settings::RgReceive, nullptr, kRgReceiveItems},
    // A file without it keeps receiving as before, without encryption.
    {"POP3Security1", "RgSecurity", K::Radio, nullptr, &Settings::RgSecurity, nullptr, kRgSecurityItems},
    // A file without it keeps taking mail bodies as sent.
    {"MIME\x89\xf0\x93\xc7" /* MIME解読 */, "ChMimeKaidoku", K::LaterTick, nullptr, nullptr, &Settings::ChMimeKaidoku},
};
// clang-format on

} // namespace

std::span<const SettingsKey> SettingsKey::all()
{
    return kKeys;
}

void SettingsKey::read(Settings& settings, std::string_view value, const MessageCallback& message) const
{
    switch (kind) {
    case Kind::List:
        settings.LBoxSetuzokuSaki.emplace_back(value);
        break;
    case Kind::Text:
        settings.*text = std::string(value);
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
    }
}

std::string SettingsKey::written(const Settings& settings, const MessageCallback& message) const
{
    switch (kind) {
    case Kind::List:
        return settings.LBoxSetuzokuSaki.empty() ? std::string() : settings.LBoxSetuzokuSaki.front();
    case Kind::Text:
        return settings.*text;
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
    }
    return {};
}

std::string SettingsKey::shown(const Settings& settings) const
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
    case Kind::Colour:
    case Kind::Radio:
        return std::to_string(settings.*number);
    case Kind::Tick:
    case Kind::LaterTick:
        return settings.*tick ? "1" : "0";
    }
    return {};
}

} // namespace app

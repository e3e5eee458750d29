#pragma once

// The window's stored state: one member per control whose state survives a
// restart, named after that control, holding the value a freshly built
// window shows. The window copies it into its controls after loading and
// back before saving; corkpane-tool, reception and drawing use it directly.
//
// Texts are Shift_JIS bytes exactly as the edit boxes hold them (number boxes
// stay text: each reader parses them with its own fallback). Colours are
// 0x00BBGGRR values. Radio groups hold the selected item's index, -1 for
// none. Ticks are true when the box is ticked.

#include <string>
#include <vector>

namespace app {

struct Settings {
    // Mail account page.
    std::vector<std::string> LBoxSetuzokuSaki { "\x83\x54\x81\x5b\x83\x6f\x81\x5b\x82\x50" /* サーバー１ */ };
    std::string EdHost { "\x83\x54\x81\x5b\x83\x6f\x81\x5b\x96\xbc\x82\xf0\x82\xb1\x82\xb1\x82\xc9\x93\xfc"
                         "\x97\xcd" /* サーバー名をここに入力 */ };
    std::string EdUser { "\x83\x86\x81\x5b\x83\x55\x81\x5b\x96\xbc\x82\xf0\x82\xb1\x82\xb1\x82\xc9\x93\xfc"
                         "\x97\xcd" /* ユーザー名をここに入力 */ };
    // The POP3 password in clear text. Empty in a new window; LoadSettings
    // puts a placeholder here before it reads the stored one.
    std::string Password;
    std::string EdPort { "110" };
    std::string EdKeyWord1 { "\x83\x81\x83\x82" /* メモ */ };
    std::string EdKeyWord2 { "\x82\xdf\x82\xe0" /* めも */ };
    int RgReceive { 0 }; // 0 "受信する" (receive at startup), 1 "受信しない"
    int RgSecurity { 0 }; // 0 "なし", 1 "STARTTLS", 2 "SSL/TLS"
    // Read memo mail as MIME. On in a new set-up; a stored set-up without
    // the key has it off.
    bool ChMimeKaidoku { true };

    // Memo display.
    std::string EdMojiSu { "15" };
    std::string EdGyosu { "20" };
    std::string EdFontSize { "15" };
    std::string EdGyokan { "4" };
    std::string EdUeYohaku { "10" };
    std::string EdMigiYohaku { "300" };
    int LbMojiIro { 65280 }; // lime
    int RgKage { 0 }; // 0 none, 1 shadow, 2 outline
    int LbKageIro { 12632256 }; // silver
    int RgTitle { 1 }; // 0 title only, 1 title + date
    std::string EdTitle { "\x96\x59\x82\xea\x82\xb8\x82\xc9\x81\x49" /* 忘れずに！ */ };
    bool ChShowMemo { false }; // ticked = the memo is NOT shown

    // Text background.
    std::string EdRitu { "50" };
    int RgHaikei { 0 }; // 0 white, 1 black, 2 off

    // Schedule look-ahead days and display.
    std::string EdScW { "1" };
    std::string EdScM { "3" };
    std::string EdScY { "5" };
    std::string EdScD { "10" };
    bool ChScMemo { true };
    bool ChScCal { false };

    bool operator==(const Settings&) const = default;
};

// Number of items of each radio group; a stored index is clamped to these.
inline constexpr int kRgKageItems = 3;
inline constexpr int kRgTitleItems = 2;
inline constexpr int kRgHaikeiItems = 3;
inline constexpr int kRgReceiveItems = 2;
inline constexpr int kRgSecurityItems = 3;

} // namespace app

#pragma once

// The window's stored state: one member per control whose state survives a
// restart, named after that control, starting at the value a freshly built
// window shows. The window copies it into its controls after loading and
// back before saving; corkpane-tool, reception and drawing use it directly.
//
// Texts are Shift_JIS bytes exactly as the edit boxes hold them. Number boxes
// hold their text as typed and the number read from it with the box's own
// fallback (NumberBox). Colours are 0x00BBGGRR values. Radio groups and
// choices hold the selected item's index, -1 for none. Ticks are true when
// the box is ticked. The settings table (SettingsKey.cpp) gives every
// member's initial value and fallback, and converts to and from the stored
// text.

#include "app/NumberBox.h"

#include <string>
#include <vector>

namespace app {

struct Settings {
    // Every member starts at the value a new window shows, as the settings
    // table (SettingsKey) gives it.
    Settings();

    // Mail account page.
    std::vector<std::string> LBoxSetuzokuSaki;
    std::string EdHost;
    std::string EdUser;
    // The POP3 password in clear text.
    std::string Password;
    NumberBox EdPort;
    std::string EdKeyWord1;
    std::string EdKeyWord2;
    int RgReceive {}; // 0 "受信する" (receive at startup), 1 "受信しない"
    int RgSecurity {}; // 0 "なし", 1 "STARTTLS", 2 "SSL/TLS"
    bool ChMimeKaidoku {}; // read memo mail as MIME
    bool ChRemember {}; // remember the mails received (by UIDL)
    int CbAuth {}; // 0 USER/PASS, 1 PLAIN, 2 XOAUTH2, 3 OAUTHBEARER
    int CbProtocol {}; // 0 POP3, 1 IMAP
    std::string EdFolder; // the IMAP folder
    NumberBox EdInterval; // minutes between receptions while the session runs; 0: none
    std::string EdTokenCommand; // prints the access token for XOAUTH2 and OAUTHBEARER

    // Memo display.
    NumberBox EdMojiSu;
    NumberBox EdGyosu;
    NumberBox EdFontSize;
    NumberBox EdGyokan;
    NumberBox EdUeYohaku;
    NumberBox EdMigiYohaku;
    int LbMojiIro {};
    int RgKage {}; // 0 none, 1 shadow, 2 outline
    int LbKageIro {};
    int RgTitle {}; // 0 title only, 1 title + date
    std::string EdTitle;
    bool ChShowMemo {}; // ticked = the memo is NOT shown

    // Text background.
    NumberBox EdRitu;
    int RgHaikei {}; // 0 white, 1 black, 2 off

    // Schedule look-ahead days and display.
    NumberBox EdScW;
    NumberBox EdScM;
    NumberBox EdScY;
    NumberBox EdScD;
    bool ChScMemo {};
    bool ChScCal {};
    bool ChShukujitsu {}; // the national holidays listed with the schedule

    // Calendar subscriptions: the addresses as typed (Shift_JIS), at most
    // kMaxCalendars, none empty.
    std::vector<std::string> LbCalendars;

    bool operator==(const Settings&) const = default;
};

// Number of items of each radio group; a stored index is clamped to these.
inline constexpr int kRgKageItems = 3;
inline constexpr int kRgTitleItems = 2;
inline constexpr int kRgHaikeiItems = 3;
inline constexpr int kRgReceiveItems = 2;
inline constexpr int kRgSecurityItems = 3;
// Calendar subscriptions kept: "CalendarURL1" … "CalendarURL9".
inline constexpr int kMaxCalendars = 9;

} // namespace app

#pragma once

// The window's fixed texts, written in UTF-8 and held as Shift_JIS like
// every other text of the program; FromSjis turns them into what Qt shows.

#include "jconvert/cp932.h"
#include "version/Version.h"

#include <string>

namespace gui::texts {

inline const std::string kFormCaption = jconvert::Utf8ToCp932("CorkpaneⅡ");
inline const std::string kAppTitle = jconvert::Utf8ToCp932("Corkpane Ⅱ");
inline const std::string kTabJusin = jconvert::Utf8ToCp932("受信");
inline const std::string kTabMemo = jconvert::Utf8ToCp932("メモ");
inline const std::string kTabSchedule = jconvert::Utf8ToCp932("スケジュール");
inline const std::string kTabSettei = jconvert::Utf8ToCp932("設定");
inline const std::string kTabMail = jconvert::Utf8ToCp932("メール");
inline const std::string kTabAbout = "about";
inline const std::string kBtnReceive = jconvert::Utf8ToCp932("メール受信");
inline const std::string kBtnScDel = jconvert::Utf8ToCp932("行削除");
inline const std::string kBtnScIns = jconvert::Utf8ToCp932("行挿入");
inline const std::string kBtnScUp = jconvert::Utf8ToCp932("▲");
inline const std::string kBtnScDown = jconvert::Utf8ToCp932("▼");
inline const std::string kBtnScCheck = jconvert::Utf8ToCp932("チェック");
// The schedule grid's corner and column captions.
inline constexpr char kGridNumberCaption[] = "No";
inline const std::string kGridDateCaption = jconvert::Utf8ToCp932(" 　予定日");
inline const std::string kGridTextCaption = jconvert::Utf8ToCp932("　　スケジュール");
inline const std::string kHintGrid
    = jconvert::Utf8ToCp932("|予定日に使用できる文字　数字(全角可)，日月～土,毎年第曜,平成令和元");
inline const std::string kHintCheck
    = jconvert::Utf8ToCp932("|入力された予定日を本ソフトの書式に変換し,エラーをチェックします.");
inline const std::string kGroupMemo = jconvert::Utf8ToCp932("メモ表示");
inline const std::string kLbMojiSu = jconvert::Utf8ToCp932("1行文字数");
inline const std::string kLbGyosu = jconvert::Utf8ToCp932("行数");
inline const std::string kLbFontSize = jconvert::Utf8ToCp932("文字サイズ");
inline const std::string kLbGyokan = jconvert::Utf8ToCp932("行間");
inline const std::string kLbUeYohaku = jconvert::Utf8ToCp932("上余白");
inline const std::string kLbMigiYohaku = jconvert::Utf8ToCp932("右余白");
inline const std::string kLbMojiIroCaption = jconvert::Utf8ToCp932("文字色");
inline const std::string kRgKage = jconvert::Utf8ToCp932("影文字");
inline const std::string kKageNone = jconvert::Utf8ToCp932("なし");
inline const std::string kKageShadow = jconvert::Utf8ToCp932("影");
inline const std::string kKageOutline = jconvert::Utf8ToCp932("縁取り");
inline const std::string kLbKageIroCaption = jconvert::Utf8ToCp932("影色");
inline const std::string kRgTitle = jconvert::Utf8ToCp932("メモタイトル");
inline const std::string kTitleItem0 = jconvert::Utf8ToCp932("　　　　　　　　　　　　(タイトル)");
inline const std::string kTitleItem1 = jconvert::Utf8ToCp932("タイトル＋日付");
inline const std::string kEdTitle = jconvert::Utf8ToCp932("忘れずに！");
inline const std::string kChShowMemo = jconvert::Utf8ToCp932("メモを表示しない");
inline const std::string kGroupHaikei = jconvert::Utf8ToCp932("文字背景");
inline const std::string kRgHaikei = jconvert::Utf8ToCp932("色");
inline const std::string kHaikeiWhite = jconvert::Utf8ToCp932("白");
inline const std::string kHaikeiBlack = jconvert::Utf8ToCp932("黒");
inline const std::string kHaikeiOff = "OFF";
inline const std::string kPercent = "%";
inline const std::string kGroupSchedule = jconvert::Utf8ToCp932("スケジュール");
inline const std::string kLbHyojibi = jconvert::Utf8ToCp932("表示日");
inline const std::string kLbScW = jconvert::Utf8ToCp932("週予定");
inline const std::string kLbScM = jconvert::Utf8ToCp932("月予定");
inline const std::string kLbScY = jconvert::Utf8ToCp932("記念日");
inline const std::string kLbScD = jconvert::Utf8ToCp932("指定日");
inline const std::string kChScMemo = jconvert::Utf8ToCp932("メモに表示する");
inline const std::string kChScCal = jconvert::Utf8ToCp932("カレンダーに表示する");
inline const std::string kChShukujitsu = jconvert::Utf8ToCp932("祝日を表示する");
inline const std::string kBtnDraw = jconvert::Utf8ToCp932("描画");
inline const std::string kGroupPop3 = jconvert::Utf8ToCp932("受信(POP3)設定");
inline const std::string kServer1 = jconvert::Utf8ToCp932("サーバー１");
inline const std::string kLbHost = jconvert::Utf8ToCp932("サーバー名");
inline const std::string kEdHost = jconvert::Utf8ToCp932("サーバー名をここに入力");
inline const std::string kLbUser = jconvert::Utf8ToCp932("ユーザー名");
inline const std::string kEdUser = jconvert::Utf8ToCp932("ユーザー名をここに入力");
inline const std::string kLbPW = jconvert::Utf8ToCp932("パスワード");
inline const std::string kLbPort = jconvert::Utf8ToCp932("ポート番号");
inline const std::string kGroupKeyword = jconvert::Utf8ToCp932("受信キーワード");
inline const std::string kLbKeyWord1 = jconvert::Utf8ToCp932("キーワード１");
inline const std::string kLbKeyWord2 = jconvert::Utf8ToCp932("キーワード２");
inline const std::string kKeyWord1 = jconvert::Utf8ToCp932("メモ");
inline const std::string kKeyWord2 = jconvert::Utf8ToCp932("めも");
inline const std::string kRgReceive = jconvert::Utf8ToCp932("スタートアップ時のメール受信");
inline const std::string kReceiveYes = jconvert::Utf8ToCp932("受信する");
inline const std::string kReceiveNo = jconvert::Utf8ToCp932("受信しない");
inline const std::string kRgSecurity = jconvert::Utf8ToCp932("暗号化");
inline const std::string kSecurityNone = jconvert::Utf8ToCp932("なし");
inline const std::string kSecurityStartTls = "STARTTLS";
inline const std::string kSecurityTls = "SSL/TLS";
inline const std::string kChMimeKaidoku = jconvert::Utf8ToCp932("MIME形式のメールを解読する");
inline const std::string kChRemember = jconvert::Utf8ToCp932("受信済みのメールを記憶する");
inline const std::string kLbAuth = jconvert::Utf8ToCp932("認証方式");
inline const std::string kLbTokenCommand = jconvert::Utf8ToCp932("トークン取得コマンド");
inline const std::string kLabel5 = jconvert::Utf8ToCp932(std::string("Version　") + version::kNumber);
inline const std::string kHintUrl = jconvert::Utf8ToCp932("|「Corkpane」サポートページを表示します。");
inline const std::string kBtnShortCut = jconvert::Utf8ToCp932("ショートカット作成");
inline const std::string kAboutFont = jconvert::Utf8ToCp932("ＭＳ ゴシック");
inline const std::string kShortcutQuestion
    = jconvert::Utf8ToCp932("スタートアップとデスクトップにショートカットを\n\n作成してもよろしいですか。\n");
inline const std::string kShortcutCaption = jconvert::Utf8ToCp932("「Corkpane」 確認");

// The reception log's line when an unattended start skips reception
// because no mail server was ever entered.
inline const std::string kReceiveSkipped
    = jconvert::Utf8ToCp932("サーバー名が設定されていないため、メール受信を省略しました。");
// The reception log's line, and the receive button's message, while the
// memo file could not be read: what arrives could not be saved.
inline const std::string kReceiveNeedsMemo
    = jconvert::Utf8ToCp932("メモのファイルを読み込めなかったため、メールは受信しません。");
// Shown with the address when nothing could open the support page.
inline const std::string kSupportPageFailed
    = jconvert::Utf8ToCp932("「Corkpane」サポートページを開けませんでした。");
// Before the folder that holds the files, on the about page.
inline const std::string kFilesFolder = jconvert::Utf8ToCp932("ファイル: ");
// The report after ショートカット作成: a heading, then one line for each of
// the two shortcuts and the daily redraw, with the file written or, after
// kNotMade, the reason it was not.
inline const std::string kShortcutsMade = jconvert::Utf8ToCp932("ショートカットを作成しました。");
inline const std::string kShortcutsNotAllMade = jconvert::Utf8ToCp932("作成できなかったものがあります。");
inline const std::string kDesktopShortcutItem = jconvert::Utf8ToCp932("デスクトップのショートカット: ");
inline const std::string kStartupShortcutItem = jconvert::Utf8ToCp932("ログオン時の自動実行: ");
inline const std::string kRedrawTimerItem = jconvert::Utf8ToCp932("毎日 0 時 1 分の描き直し: ");
inline const std::string kNotMade = jconvert::Utf8ToCp932("作成できませんでした。");
inline const std::string kRedrawTimerNoTool
    = jconvert::Utf8ToCp932("プログラムと同じフォルダーに corkpane-tool がないため、作成しませんでした。");
inline const std::string kRedrawTimerNoSystemd
    = jconvert::Utf8ToCp932("systemd (systemctl) が見つからないため、作成しませんでした。");
// The reason when the desktop or autostart folder itself is unknown.
inline const std::string kShortcutFolderUnknown
    = jconvert::Utf8ToCp932("ショートカットを置くフォルダーが見つかりません。");
// The reason when a shell link could not be saved (Windows).
inline const std::string kShortcutNotSaved
    = jconvert::Utf8ToCp932("ショートカットのファイルを保存できませんでした。");
// Shown before the drawn file's name when the desktop did not take it.
inline const std::string kWallpaperNotTaken
    = jconvert::Utf8ToCp932("壁紙を設定できませんでした。描いた画像: ");
// After the logon shortcut is made on a session that does not start
// autostart entries (sway), before the line its configuration needs.
inline const std::string kAutostartLine = jconvert::Utf8ToCp932(
    "このデスクトップ (sway) はログオン時の自動起動の項目を実行しません。ログオンのたびに描き直すには、"
    "sway の設定ファイル (~/.config/sway/config) に次の 1 行を加えてください:\n\n");

// A row of 48 hyphens on the about page.
inline constexpr char kPanel1[] = "------------------------------------------------";
inline constexpr char kLabel4[] = "Copyright (C) the Corkpane developers. Free to use and share.";
inline constexpr char kPasswordPlaceholder[] = "******";

} // namespace gui::texts

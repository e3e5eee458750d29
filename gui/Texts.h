#pragma once

// The window's fixed texts as Shift_JIS bytes (the comment shows each text).
// FromSjis turns them into what Qt shows.

namespace gui::texts {

inline constexpr char kFormCaption[] = "Corkpane\x87U"; // CorkpaneⅡ
inline constexpr char kAppTitle[] = "Corkpane \x87U"; // Corkpane Ⅱ
inline constexpr char kTabJusin[] = "\x8e\xf3\x90M"; // 受信
inline constexpr char kTabMemo[] = "\x83\x81\x83\x82"; // メモ
inline constexpr char kTabSchedule[] = "\x83X\x83P\x83W\x83\x85\x81[\x83\x8b"; // スケジュール
inline constexpr char kTabSettei[] = "\x90\xdd\x92\xe8"; // 設定
inline constexpr char kTabMail[] = "\x83\x81\x81[\x83\x8b"; // メール
inline constexpr char kTabAbout[] = "about"; // about
inline constexpr char kBtnReceive[] = "\x83\x81\x81[\x83\x8b\x8e\xf3\x90M"; // メール受信
inline constexpr char kBtnScDel[] = "\x8ds\x8d\xed\x8f\x9c"; // 行削除
inline constexpr char kBtnScIns[] = "\x8ds\x91}\x93\xfc"; // 行挿入
inline constexpr char kBtnScUp[] = "\x81\xa3"; // ▲
inline constexpr char kBtnScDown[] = "\x81\xa5"; // ▼
inline constexpr char kBtnScCheck[] = "\x83`\x83"
                                      "F\x83"
                                      "b\x83N"; // チェック
inline constexpr char kHintGrid[]
    = "|\x97\\\x92\xe8\x93\xfa\x82\xc9\x8eg\x97p\x82\xc5\x82\xab\x82\xe9\x95\xb6\x8e\x9a\x81@"
      "\x90\x94\x8e\x9a(\x91S\x8ap\x89\xc2)\x81"
      "C\x93\xfa\x8c\x8e\x81`\x93y,\x96\x88\x94N\x91\xe6\x97j\x95\xbd\x90\xac"; // |予定日に使用できる文字　数字(全角可)，日月～土,毎年第曜平成
inline constexpr char kHintCheck[]
    = "|\x93\xfc\x97\xcd\x82\xb3\x82\xea\x82\xbd\x97\\\x92\xe8\x93\xfa\x82\xf0\x96{"
      "\x83\\\x83t\x83g\x82\xcc\x8f\x91\x8e\xae\x82\xc9\x95\xcf\x8a\xb7\x82\xb5,\x83G\x83\x89\x81["
      "\x82\xf0\x83`\x83"
      "F\x83"
      "b\x83N\x82\xb5\x82\xdc\x82\xb7."; // |入力された予定日を本ソフトの書式に変換し,エラーをチェックします.
inline constexpr char kGroupMemo[] = "\x83\x81\x83\x82\x95\\\x8e\xa6"; // メモ表示
inline constexpr char kLbMojiSu[] = "1\x8ds\x95\xb6\x8e\x9a\x90\x94"; // 1行文字数
inline constexpr char kLbGyosu[] = "\x8ds\x90\x94"; // 行数
inline constexpr char kLbFontSize[] = "\x95\xb6\x8e\x9a\x83T\x83"
                                      "C\x83Y"; // 文字サイズ
inline constexpr char kLbGyokan[] = "\x8ds\x8a\xd4"; // 行間
inline constexpr char kLbUeYohaku[] = "\x8f\xe3\x97]\x94\x92"; // 上余白
inline constexpr char kLbMigiYohaku[] = "\x89"
                                        "E\x97]\x94\x92"; // 右余白
inline constexpr char kLbMojiIroCaption[] = "\x95\xb6\x8e\x9a\x90"
                                            "F"; // 文字色
inline constexpr char kRgKage[] = "\x89"
                                  "e\x95\xb6\x8e\x9a"; // 影文字
inline constexpr char kKageNone[] = "\x82\xc8\x82\xb5"; // なし
inline constexpr char kKageShadow[] = "\x89"
                                      "e"; // 影
inline constexpr char kKageOutline[] = "\x89\x8f\x8e\xe6\x82\xe8"; // 縁取り
inline constexpr char kLbKageIroCaption[] = "\x89"
                                            "e\x90"
                                            "F"; // 影色
inline constexpr char kRgTitle[] = "\x83\x81\x83\x82\x83^\x83"
                                   "C\x83g\x83\x8b"; // メモタイトル
inline constexpr char kTitleItem0[] = "\x81@\x81@\x81@\x81@\x81@\x81@\x81@\x81@\x81@\x81@\x81@\x81@(\x83^\x83"
                                      "C\x83g\x83\x8b)"; // 　　　　　　　　　　　　(タイトル)
inline constexpr char kTitleItem1[] = "\x83^\x83"
                                      "C\x83g\x83\x8b\x81{\x93\xfa\x95t"; // タイトル＋日付
inline constexpr char kEdTitle[] = "\x96Y\x82\xea\x82\xb8\x82\xc9\x81I"; // 忘れずに！
inline constexpr char kChShowMemo[]
    = "\x83\x81\x83\x82\x82\xf0\x95\\\x8e\xa6\x82\xb5\x82\xc8\x82\xa2"; // メモを表示しない
inline constexpr char kGroupHaikei[] = "\x95\xb6\x8e\x9a\x94w\x8ci"; // 文字背景
inline constexpr char kRgHaikei[] = "\x90"
                                    "F"; // 色
inline constexpr char kHaikeiWhite[] = "\x94\x92"; // 白
inline constexpr char kHaikeiBlack[] = "\x8d\x95"; // 黒
inline constexpr char kGroupSchedule[] = "\x83X\x83P\x83W\x83\x85\x81[\x83\x8b"; // スケジュール
inline constexpr char kLbHyojibi[] = "\x95\\\x8e\xa6\x93\xfa"; // 表示日
inline constexpr char kLbScW[] = "\x8fT\x97\\\x92\xe8"; // 週予定
inline constexpr char kLbScM[] = "\x8c\x8e\x97\\\x92\xe8"; // 月予定
inline constexpr char kLbScY[] = "\x8bL\x94O\x93\xfa"; // 記念日
inline constexpr char kLbScD[] = "\x8ew\x92\xe8\x93\xfa"; // 指定日
inline constexpr char kChScMemo[]
    = "\x83\x81\x83\x82\x82\xc9\x95\\\x8e\xa6\x82\xb7\x82\xe9"; // メモに表示する
inline constexpr char kChScCal[]
    = "\x83J\x83\x8c\x83\x93\x83_\x81[\x82\xc9\x95\\\x8e\xa6\x82\xb7\x82\xe9"; // カレンダーに表示する
inline constexpr char kBtnDraw[] = "\x95`\x89\xe6"; // 描画
inline constexpr char kGroupPop3[] = "\x8e\xf3\x90M(POP3)\x90\xdd\x92\xe8"; // 受信(POP3)設定
inline constexpr char kServer1[] = "\x83T\x81[\x83o\x81[\x82P"; // サーバー１
inline constexpr char kLbHost[] = "\x83T\x81[\x83o\x81[\x96\xbc"; // サーバー名
inline constexpr char kEdHost[]
    = "\x83T\x81[\x83o\x81[\x96\xbc\x82\xf0\x82\xb1\x82\xb1\x82\xc9\x93\xfc\x97\xcd"; // サーバー名をここに入力
inline constexpr char kLbUser[] = "\x83\x86\x81[\x83U\x81[\x96\xbc"; // ユーザー名
inline constexpr char kEdUser[]
    = "\x83\x86\x81[\x83U\x81[\x96\xbc\x82\xf0\x82\xb1\x82\xb1\x82\xc9\x93\xfc\x97\xcd"; // ユーザー名をここに入力
inline constexpr char kLbPW[] = "\x83p\x83X\x83\x8f\x81[\x83h"; // パスワード
inline constexpr char kLbPort[] = "\x83|\x81[\x83g\x94\xd4\x8d\x86"; // ポート番号
inline constexpr char kGroupKeyword[] = "\x8e\xf3\x90M\x83L\x81[\x83\x8f\x81[\x83h"; // 受信キーワード
inline constexpr char kLbKeyWord1[] = "\x83L\x81[\x83\x8f\x81[\x83h\x82P"; // キーワード１
inline constexpr char kLbKeyWord2[] = "\x83L\x81[\x83\x8f\x81[\x83h\x82Q"; // キーワード２
inline constexpr char kKeyWord1[] = "\x83\x81\x83\x82"; // メモ
inline constexpr char kKeyWord2[] = "\x82\xdf\x82\xe0"; // めも
inline constexpr char kRgReceive[]
    = "\x83X\x83^\x81[\x83g\x83"
      "A\x83"
      "b\x83v\x8e\x9e\x82\xcc\x83\x81\x81[\x83\x8b\x8e\xf3\x90M"; // スタートアップ時のメール受信
inline constexpr char kReceiveYes[] = "\x8e\xf3\x90M\x82\xb7\x82\xe9"; // 受信する
inline constexpr char kReceiveNo[] = "\x8e\xf3\x90M\x82\xb5\x82\xc8\x82\xa2"; // 受信しない
inline constexpr char kRgSecurity[] = "\x88\xc3\x8d\x86\x89\xbb"; // 暗号化
inline constexpr char kChMimeKaidoku[] = "MIME\x8c\x60\x8e\xae\x82\xcc\x83\x81\x81\x5b\x83\x8b\x82\xf0"
                                         "\x89\xf0\x93\xc7\x82\xb7\x82\xe9"; // MIME形式のメールを解読する
inline constexpr char kLabel5[] = "Version\x81@0.2"; // Version　0.2
inline constexpr char kHintUrl[] = "|\x81uCorkpane\x81v\x83T\x83|\x81[\x83g\x83y\x81["
                                   "\x83W\x82\xf0\x95\\\x8e\xa6\x82\xb5\x82\xdc\x82\xb7\x81"
                                   "B"; // |「Corkpane」サポートページを表示します。
inline constexpr char kBtnShortCut[] = "\x83V\x83\x87\x81[\x83g\x83J\x83"
                                       "b\x83g\x8d\xec\x90\xac"; // ショートカット作成
inline constexpr char kAboutFont[] = "\x82l\x82r \x83S\x83V\x83"
                                     "b\x83N"; // ＭＳ ゴシック
inline constexpr char kShortcutQuestion[]
    = "\x83X\x83^\x81[\x83g\x83"
      "A\x83"
      "b\x83v\x82\xc6\x83"
      "f\x83X\x83N\x83g\x83"
      "b\x83v\x82\xc9\x83V\x83\x87\x81[\x83g\x83J\x83"
      "b\x83g\x82\xf0\n\n\x8d\xec\x90\xac\x82\xb5\x82\xc4\x82\xe0\x82\xe6\x82\xeb\x82\xb5\x82\xa2\x82\xc5\x82"
      "\xb7\x82\xa9\x81"
      "B\n"; // スタートアップとデスクトップにショートカットを\n\n作成してもよろしいですか。\n
inline constexpr char kShortcutCaption[] = "\x81uCorkpane\x81v \x8am\x94"
                                           "F"; // 「Corkpane」 確認

// A row of 48 hyphens on the about page.
inline constexpr char kPanel1[] = "------------------------------------------------";
inline constexpr char kLabel4[] = "Copyright (C) the Corkpane developers. Free to use and share.";
inline constexpr char kPasswordPlaceholder[] = "******";

} // namespace gui::texts

#pragma once

// The calendar module's fixed texts: the upcoming lines and the messages
// about a subscription. Written in UTF-8, held as Shift_JIS.

#include "jconvert/cp932.h"

#include <string>

namespace calendar::texts {

// An upcoming line: "<n>日後<m>月<d>日 [HH:MM ]<summary>".
inline const std::string kDaysLater = jconvert::Utf8ToCp932("日後");
inline const std::string kMonth = jconvert::Utf8ToCp932("月");
inline const std::string kDay = jconvert::Utf8ToCp932("日");
// The summary of an event that has none.
inline const std::string kNoTitle = jconvert::Utf8ToCp932("(タイトルなし)");
// Ends a summary cut at its length limit.
inline const std::string kCut = jconvert::Utf8ToCp932("…");

// Every message about a subscription begins "カレンダー「<name>」".
inline const std::string kCalendarOpen = jconvert::Utf8ToCp932("カレンダー「");
inline const std::string kCalendarClose = jconvert::Utf8ToCp932("」");

// Addresses that are refused: "カレンダー「<name>」のアドレスは使えません。<why>"
inline const std::string kAddressRefused = jconvert::Utf8ToCp932("のアドレスは使えません。");
inline const std::string kAddressEmpty = jconvert::Utf8ToCp932("カレンダーのアドレスが空です。");
inline const std::string kAddressKinds
    = jconvert::Utf8ToCp932("https:// か webcal:// で始まるアドレス、またはファイルの場所 (/ "
                            "から始まるパスか file://) を指定してください。");
inline const std::string kAddressPlainHttp = jconvert::Utf8ToCp932(
    "暗号化しない http:// は、このコンピューターの中のサーバー (localhost) にだけ使えます。https:// "
    "のアドレスを指定してください。");
inline const std::string kAddressFileHost
    = jconvert::Utf8ToCp932("file:// のアドレスは、このコンピューターのファイルにだけ使えます。");

// Fetching: "カレンダー「<name>」を取得できません。<reason>[前回取得した内容を使います。]"
inline const std::string kCannotFetch = jconvert::Utf8ToCp932("を取得できません。");
inline const std::string kUsingCachedCopy = jconvert::Utf8ToCp932("前回取得した内容を使います。");
inline const std::string kNotFetchedYet = jconvert::Utf8ToCp932("まだ一度も取得していません。");
inline const std::string kHostNotFound = jconvert::Utf8ToCp932("サーバーの名前が見つかりません。");
inline const std::string kCannotConnect = jconvert::Utf8ToCp932("サーバーに接続できません。");
inline const std::string kProxyFailed = jconvert::Utf8ToCp932("プロキシーに接続できません。");
inline const std::string kTimedOut = jconvert::Utf8ToCp932("決められた時間 (");
inline const std::string kTimedOutEnd = jconvert::Utf8ToCp932(" 秒) のうちに受け取れませんでした。");
inline const std::string kCertificate = jconvert::Utf8ToCp932(
    "サーバーの証明書を確認できません。正しいサーバーか確かめられないため、接続をやめました。");
inline const std::string kTlsFailed = jconvert::Utf8ToCp932("暗号化した接続 (TLS) を始められません。");
inline const std::string kTooLarge = jconvert::Utf8ToCp932("内容が大きすぎます (");
inline const std::string kTooLargeEnd = jconvert::Utf8ToCp932(" MB まで)。");
inline const std::string kTooManyRedirects = jconvert::Utf8ToCp932("転送が多すぎます (5 回まで)。");
inline const std::string kRedirectRefused = jconvert::Utf8ToCp932(
    "転送先のアドレスは使えません (https:// か、このコンピューターの中の http:// だけです): ");
inline const std::string kNotLoopback = jconvert::Utf8ToCp932(
    "http:// の接続先がこのコンピューターの外でした。https:// のアドレスを指定してください。");
inline const std::string kHttpStatus = jconvert::Utf8ToCp932("サーバーがエラーを返しました (HTTP ");
inline const std::string kHttpStatusEnd = jconvert::Utf8ToCp932(")。");
inline const std::string kCheckAddress
    = jconvert::Utf8ToCp932("アドレスが正しいか、カレンダーの公開が止められていないか確かめてください。");
inline const std::string kWebPage
    = jconvert::Utf8ToCp932("カレンダーではなくウェブページ (サインイン画面など) が返りました。iCal "
                            "形式の非公開アドレスを指定してください。");
inline const std::string kNotICalendar = jconvert::Utf8ToCp932("内容が iCalendar 形式ではありません。");
inline const std::string kEmptyReply = jconvert::Utf8ToCp932("サーバーが内容を返しませんでした。");
inline const std::string kTransferFailed = jconvert::Utf8ToCp932("通信に失敗しました (libcurl ");
inline const std::string kTransferFailedEnd = jconvert::Utf8ToCp932(")。");
// A fetch that succeeded but whose copy could not be kept.
inline const std::string kCacheNotSaved
    = jconvert::Utf8ToCp932("の控えを保存できません。次にオフラインで描くときは前の控えを使います。");

// Reading: "カレンダー「<name>」は<problem>"
inline const std::string kIs = jconvert::Utf8ToCp932("は");
inline const std::string kNotReadable = jconvert::Utf8ToCp932("iCalendar 形式として読めません。");
// "カレンダー「<name>」の予定 <n> 件は、読めないか繰り返しを計算できないため省きました。"
inline const std::string kSkippedOpen = jconvert::Utf8ToCp932("の予定 ");
inline const std::string kSkippedClose
    = jconvert::Utf8ToCp932(" 件は、読めないか繰り返しを計算できないため省きました。");
inline const std::string kCutShort
    = jconvert::Utf8ToCp932("の繰り返しの計算が多すぎるため、途中までの予定だけを表示します。");
// A time zone name the caller gave that is unknown.
inline const std::string kUnknownZone = jconvert::Utf8ToCp932("タイムゾーンが見つかりません: ");

} // namespace calendar::texts

#pragma once

// The fixed texts of mail reception: log lines and the messages of the
// errors a run passes on. Written in UTF-8, held as Shift_JIS.

#include "jconvert/cp932.h"

#include <string>

namespace mail::texts {

// Log lines.
inline const std::string kMailCount = jconvert::Utf8ToCp932("メール件数");
inline constexpr char kSeparator[] = "wwwwwwwwwwwwwwwwwwwwwwwwwwwww"; // 29 letters w
inline const std::string kSubject = jconvert::Utf8ToCp932("件名:");
inline const std::string kRetrieveFailed = jconvert::Utf8ToCp932("メールの受信に失敗しました。");
// A memo mail over the size limit, logged in place of its body.
inline const std::string kMessageTooLarge
    = jconvert::Utf8ToCp932("メールが大きすぎるため受信しませんでした。");
inline constexpr char kStatusPrefix[] = "Status>";
// A memo mail with a line over the length limit, logged in place of its body.
inline const std::string kLineTooLongSkipped
    = jconvert::Utf8ToCp932("メールの行が長すぎるため受信しませんでした。");
// A memo mail whose body would take the memo past what the program reads.
inline const std::string kMemoFull
    = jconvert::Utf8ToCp932("メモの大きさの上限を超えるため、このメールは受信しませんでした。");
// A memo mail remembered as received by an earlier run.
inline const std::string kAlreadyReceived = jconvert::Utf8ToCp932("受信済みのメールです。");
// Remembering is on, but the server gives no usable list of mail ids.
inline const std::string kNoUidl = jconvert::Utf8ToCp932(
    "サーバーがメールの識別番号 (UIDL) を返さないため、受信済みのメールを記憶できません。");
// A try at logon that did not reach the server: kConnectRetry, the pause in
// seconds, kConnectRetryAfter, the reason.
inline const std::string kConnectRetry = jconvert::Utf8ToCp932("接続できませんでした。");
inline const std::string kConnectRetryAfter = jconvert::Utf8ToCp932(" 秒後にもう一度試します: ");
// The last line of a run that failed, before the reason.
inline const std::string kRunFailed = jconvert::Utf8ToCp932("エラーのため受信を中止しました: ");

// Words of the connection status events.
inline const std::string kResolving = jconvert::Utf8ToCp932("接続開始");
inline const std::string kConnecting = jconvert::Utf8ToCp932("接続中");
inline const std::string kConnected = jconvert::Utf8ToCp932("接続完了");
inline const std::string kDisconnecting = jconvert::Utf8ToCp932("切断中");
inline const std::string kDisconnected = jconvert::Utf8ToCp932("切断完了");

// Error messages.
inline const std::string kConnectTimeout = jconvert::Utf8ToCp932("接続タイムアウト。");
inline const std::string kReadTimeout = jconvert::Utf8ToCp932("受信タイムアウト。");
inline const std::string kLineTooLong = jconvert::Utf8ToCp932("最大行の長さを超えました。");
inline const std::string kConnectionClosed = jconvert::Utf8ToCp932("接続が閉じられました。");
inline const std::string kReplyTooLarge = jconvert::Utf8ToCp932("サーバーの応答が大きすぎます。");
inline constexpr char kUnrecognizedReply[] = "Unrecognized POP3 Response Header:";
inline const std::string kSocketError = jconvert::Utf8ToCp932("Socket エラー # ");
inline const std::string kHostNotFound = jconvert::Utf8ToCp932("ホストが見つかりません。");
inline const std::string kLineBreakInLogin
    = jconvert::Utf8ToCp932("ユーザー名またはパスワードに改行が含まれています。");
inline const std::string kBadStatReply = jconvert::Utf8ToCp932("不正な STAT 応答:");
// The run's overall time limit: kRunTimeLimit, the number, then the unit.
inline const std::string kRunTimeLimit = jconvert::Utf8ToCp932("受信の制限時間 (");
inline const std::string kRunTimeLimitMinutes = jconvert::Utf8ToCp932(" 分) を超えました。");
inline const std::string kRunTimeLimitSeconds = jconvert::Utf8ToCp932(" 秒) を超えました。");
inline const std::string kUnknownUuScheme
    = jconvert::Utf8ToCp932("UUE エンコーディングスキームが認識できません。");

// Secure connections. A certificate failure reads kCertificatePrefix, the
// reason, kCertificateSuffix.
inline const std::string kCertificatePrefix = jconvert::Utf8ToCp932("サーバー証明書を検証できません（");
inline const std::string kCertificateSuffix = jconvert::Utf8ToCp932("）。");
inline const std::string kCertExpired = jconvert::Utf8ToCp932("期限切れ");
inline const std::string kCertNotYetValid = jconvert::Utf8ToCp932("有効期間前");
inline const std::string kCertNameMismatch = jconvert::Utf8ToCp932("名前の不一致");
inline const std::string kCertSelfSigned = jconvert::Utf8ToCp932("自己署名");
inline const std::string kCertUntrusted = jconvert::Utf8ToCp932("信頼されていない証明書");
inline const std::string kCertRevoked = jconvert::Utf8ToCp932("失効した証明書");
inline const std::string kCertMissing = jconvert::Utf8ToCp932("証明書がありません");
inline const std::string kCertOther = jconvert::Utf8ToCp932("証明書エラー ");
inline const std::string kTlsFailed = jconvert::Utf8ToCp932("SSL/TLS 接続を確立できませんでした。");
inline const std::string kDataBeforeHandshake
    = jconvert::Utf8ToCp932("STLS の応答の後に余分なデータが届きました。");
inline const std::string kCaFileUnreadable = jconvert::Utf8ToCp932("CA 証明書ファイルを読み込めません: ");

// Sign-in with SASL.
// A command the client's state does not allow (a fault of the program):
// followed by the command.
inline const std::string kCommandOutOfTurn
    = jconvert::Utf8ToCp932("プログラムの誤り: 今の状態では送れないコマンドです: ");
inline const std::string kAuthNeedsTls = jconvert::Utf8ToCp932(
    "PLAIN とトークンによる認証は、暗号化した接続でしか使えません。「暗号化」で STARTTLS か SSL/TLS "
    "を選んでください。");
inline const std::string kNoTokenCommand
    = jconvert::Utf8ToCp932("トークン取得コマンドが設定されていません。");
inline const std::string kTokenCommandUnclosedQuote
    = jconvert::Utf8ToCp932("トークン取得コマンドの引用符が閉じられていません。");
inline const std::string kTokenCommandNotStarted
    = jconvert::Utf8ToCp932("トークン取得コマンドを実行できません: ");
// kTokenCommandTimeout, the seconds, kTokenCommandTimeoutEnd.
inline const std::string kTokenCommandTimeout = jconvert::Utf8ToCp932("トークン取得コマンドが ");
inline const std::string kTokenCommandTimeoutEnd = jconvert::Utf8ToCp932(" 秒以内に終わりませんでした。");
// kTokenCommandFailed, the exit status, kTokenCommandFailedEnd.
inline const std::string kTokenCommandFailed
    = jconvert::Utf8ToCp932("トークン取得コマンドが失敗しました (終了コード ");
inline const std::string kTokenCommandKilled
    = jconvert::Utf8ToCp932("トークン取得コマンドが強制終了されました (シグナル ");
inline const std::string kTokenCommandFailedEnd = jconvert::Utf8ToCp932(")。");
inline const std::string kTokenCommandNoToken
    = jconvert::Utf8ToCp932("トークン取得コマンドがトークンを出力しませんでした。");
inline const std::string kTokenCommandBadToken = jconvert::Utf8ToCp932(
    "トークン取得コマンドの出力の 1 行目がアクセストークンではありません (使えない文字があります)。");
inline const std::string kUnexpectedChallenge
    = jconvert::Utf8ToCp932("サーバーが認証の途中で想定外の応答を返しました。");

// What a refused sign-in needs, added after the server's own words.
inline const std::string kNeedsAppPassword = jconvert::Utf8ToCp932(
    "このアカウントには、ふだんのパスワードではなくアプリ パスワードが必要です。アカウントの設定でアプリ "
    "パスワードを作り、パスワードの欄に入れてください。");
inline const std::string kNeedsWebLogin = jconvert::Utf8ToCp932(
    "ブラウザーでのログイン (本人確認) が求められています。ブラウザーでアカウントにログインして確認するか、"
    "「認証方式」でトークンによるサインイン (XOAUTH2 か OAUTHBEARER) を使ってください。");
// kServerOffersToken, the server's token methods, kServerOffersTokenEnd.
inline const std::string kServerOffersToken
    = jconvert::Utf8ToCp932("このサーバーはトークンによるサインインに対応しています (");
inline const std::string kServerOffersTokenEnd = jconvert::Utf8ToCp932(
    ")。パスワードでログインできないアカウントでは、「認証方式」でその方式を選び、「トークン取得コマンド」"
    "を設定してください。");
inline const std::string kTokenRefused = jconvert::Utf8ToCp932(
    "アクセストークンが受け付けられませんでした。トークン取得コマンドが有効なトークンを出力しているか、"
    "ユーザー名がアカウントのメールアドレスと合っているか確かめてください。");
// kMechanismNotOffered, then the methods the server lists.
inline const std::string kMechanismNotOffered
    = jconvert::Utf8ToCp932("このサーバーはこの認証方式に対応していません。対応している方式: ");

// IMAP reception. A folder in the log reads kFolderOpened, the name,
// kFolderOpenedEnd; one that cannot be opened kFolderNotOpened, the name,
// kFolderNotOpenedEnd, the server's words.
inline const std::string kFolderOpened = jconvert::Utf8ToCp932("フォルダー「");
inline const std::string kFolderOpenedEnd = jconvert::Utf8ToCp932("」を開きました。");
inline const std::string kFolderNotOpened = jconvert::Utf8ToCp932("フォルダー「");
inline const std::string kFolderNotOpenedEnd = jconvert::Utf8ToCp932("」を開けません: ");
inline const std::string kUidValidityChanged = jconvert::Utf8ToCp932(
    "フォルダーのメール番号 (UIDVALIDITY) が振り直されたため、すべてのメールを読み直します。");
inline const std::string kUnrecognizedImapReply
    = jconvert::Utf8ToCp932("IMAP サーバーの応答を解釈できません:");
// The server's BYE: kServerClosed, then its words.
inline const std::string kServerClosed = jconvert::Utf8ToCp932("サーバーが接続を終了しました: ");
inline const std::string kLoginNeedsTls = jconvert::Utf8ToCp932(
    "パスワードによるログイン (LOGIN) は、暗号化した接続でしか使えません。「暗号化」で STARTTLS か SSL/TLS "
    "を選んでください。");
inline const std::string kLoginDisabled = jconvert::Utf8ToCp932(
    "このサーバーは暗号化していない接続でのログインを受け付けません。「暗号化」で STARTTLS か SSL/TLS "
    "を選んでください。");
inline const std::string kNoStartTls = jconvert::Utf8ToCp932(
    "このサーバーは STARTTLS に対応していません。「暗号化」で SSL/TLS を選んでください。");
inline const std::string kNoIdle
    = jconvert::Utf8ToCp932("このサーバーは新着メールの通知 (IDLE) に対応していません。");

} // namespace mail::texts

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

} // namespace mail::texts

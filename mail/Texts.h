#pragma once

// The fixed texts of mail reception, as Shift_JIS bytes: log lines and the
// messages of the errors a run passes on.

namespace mail::text {

// Log lines.
inline constexpr char kMailCount[] = "\x83\x81\x81\x5b\x83\x8b\x8c\x8f\x90\x94"; // メール件数
inline constexpr char kSeparator[] = "wwwwwwwwwwwwwwwwwwwwwwwwwwwww"; // 29 letters w
inline constexpr char kSubject[] = "\x8c\x8f\x96\xbc:"; // 件名:
inline constexpr char kRetrieveFailed[]
    = "\x83\x81\x81\x5b\x83\x8b\x82\xcc\x8e\xf3\x90\x4d\x82\xc9\x8e\xb8"
      "\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42"; // メールの受信に失敗しました。
inline constexpr char kStatusPrefix[] = "Status>";

// Words of the connection status events.
inline constexpr char kResolving[] = "\x90\xda\x91\xb1\x8a\x4a\x8e\x6e"; // 接続開始
inline constexpr char kConnecting[] = "\x90\xda\x91\xb1\x92\x86"; // 接続中
inline constexpr char kConnected[] = "\x90\xda\x91\xb1\x8a\xae\x97\xb9"; // 接続完了
inline constexpr char kDisconnecting[] = "\x90\xd8\x92\x66\x92\x86"; // 切断中
inline constexpr char kDisconnected[] = "\x90\xd8\x92\x66\x8a\xae\x97\xb9"; // 切断完了

// Error messages.
inline constexpr char kConnectTimeout[] = "\x90\xda\x91\xb1\x83\x5e\x83\x43\x83\x80\x83\x41\x83\x45\x83\x67"
                                          "\x81\x42"; // 接続タイムアウト。
inline constexpr char kReadTimeout[] = "\x8e\xf3\x90\x4d\x83\x5e\x83\x43\x83\x80\x83\x41\x83\x45\x83\x67"
                                       "\x81\x42"; // 受信タイムアウト。
inline constexpr char kLineTooLong[] = "\x8d\xc5\x91\xe5\x8d\x73\x82\xcc\x92\xb7\x82\xb3\x82\xf0\x92\xb4\x82"
                                       "\xa6\x82\xdc\x82\xb5\x82\xbd\x81\x42"; // 最大行の長さを超えました。
inline constexpr char kConnectionClosed[] = "\x90\xda\x91\xb1\x82\xaa\x95\xc2\x82\xb6\x82\xe7\x82\xea\x82\xdc"
                                            "\x82\xb5\x82\xbd\x81\x42"; // 接続が閉じられました。
inline constexpr char kUnrecognizedReply[] = "Unrecognized POP3 Response Header:";
inline constexpr char kSocketError[] = "Socket \x83\x47\x83\x89\x81\x5b # "; // "Socket エラー # "
inline constexpr char kHostNotFound[] = "\x83\x7a\x83\x58\x83\x67\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82"
                                        "\xdc\x82\xb9\x82\xf1\x81\x42"; // ホストが見つかりません。
inline constexpr char kLineBreakInLogin[]
    = "\x83\x86\x81\x5b\x83\x55\x81\x5b\x96\xbc\x82\xdc\x82\xbd\x82\xcd\x83\x70"
      "\x83\x58\x83\x8f\x81\x5b\x83\x68\x82\xc9\x89\xfc\x8d\x73\x82\xaa\x8a\xdc"
      "\x82\xdc\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7\x81\x42";
// ユーザー名またはパスワードに改行が含まれています。
inline constexpr char kBadStatReply[]
    = "\x95\x73\x90\xb3\x82\xc8 STAT \x89\x9e\x93\x9a:"; // 不正な STAT 応答:
inline constexpr char kUnknownUuScheme[]
    = "UUE \x83\x47\x83\x93\x83\x52\x81\x5b\x83\x66\x83\x42\x83\x93\x83\x4f"
      "\x83\x58\x83\x4c\x81\x5b\x83\x80\x82\xaa\x94\x46\x8e\xaf\x82\xc5\x82"
      "\xab\x82\xdc\x82\xb9\x82\xf1\x81\x42"; // UUE エンコーディングスキームが認識できません。

} // namespace mail::text

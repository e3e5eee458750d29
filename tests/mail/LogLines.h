#pragma once

// Expected texts of the reception log and of the run's errors, written out
// here on their own (not taken from the program's table) so that a wrong
// byte there shows up.

#include <string>

namespace mailtest::lines {

inline const std::string kResolving = "Status>\x90\xda\x91\xb1\x8a\x4a\x8e\x6e"; // 接続開始
inline const std::string kConnecting = "Status>\x90\xda\x91\xb1\x92\x86"; // 接続中
inline const std::string kConnected = "Status>\x90\xda\x91\xb1\x8a\xae\x97\xb9"; // 接続完了
inline const std::string kDisconnecting = "Status>\x90\xd8\x92\x66\x92\x86"; // 切断中
inline const std::string kDisconnected = "Status>\x90\xd8\x92\x66\x8a\xae\x97\xb9"; // 切断完了
inline const std::string kSep = "wwwwwwwwwwwwwwwwwwwwwwwwwwwww";
inline const std::string kCount = "\x83\x81\x81\x5b\x83\x8b\x8c\x8f\x90\x94"; // メール件数
inline const std::string kSubject = "\x8c\x8f\x96\xbc:"; // 件名:
inline const std::string kMemo = "\x83\x81\x83\x82"; // メモ
inline const std::string kMemo2 = "\x82\xdf\x82\xe0"; // めも
inline const std::string kConnectTimeout
    = "\x90\xda\x91\xb1\x83\x5e\x83\x43\x83\x80\x83\x41\x83\x45\x83\x67\x81\x42"; // 接続タイムアウト。
inline const std::string kReadTimeout
    = "\x8e\xf3\x90\x4d\x83\x5e\x83\x43\x83\x80\x83\x41\x83\x45\x83\x67\x81\x42"; // 受信タイムアウト。
inline const std::string kTlsFailed
    = "SSL/TLS \x90\xda\x91\xb1\x82\xf0\x8a\x6d\x97\xa7\x82\xc5\x82\xab\x82\xdc\x82\xb9"
      "\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42"; // SSL/TLS 接続を確立できませんでした。

} // namespace mailtest::lines

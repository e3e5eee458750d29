#pragma once

// Expected texts of the reception log and of the run's errors, written out
// here on their own (not taken from the program's table) so that a wrong
// byte there shows up.

#include "common/SjisLiteral.h"

#include <string>

namespace mailtest::lines {

inline const std::string kResolving = Sjis("Status>接続開始");
inline const std::string kConnecting = Sjis("Status>接続中");
inline const std::string kConnected = Sjis("Status>接続完了");
inline const std::string kDisconnecting = Sjis("Status>切断中");
inline const std::string kDisconnected = Sjis("Status>切断完了");
inline const std::string kSep = "wwwwwwwwwwwwwwwwwwwwwwwwwwwww";
inline const std::string kCount = Sjis("メール件数");
inline const std::string kSubject = Sjis("件名:");
inline const std::string kMemo = Sjis("メモ");
inline const std::string kMemo2 = Sjis("めも");
inline const std::string kConnectTimeout = Sjis("接続タイムアウト。");
inline const std::string kReadTimeout = Sjis("受信タイムアウト。");
inline const std::string kTlsFailed = Sjis("SSL/TLS 接続を確立できませんでした。");

} // namespace mailtest::lines

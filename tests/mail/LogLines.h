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

// The last log line of a failed run: the reason on one line.
inline std::string FailureLine(const std::string& error)
{
    std::string line = Sjis("エラーのため受信を中止しました: ");
    for (std::size_t i = 0; i < error.size(); ++i) {
        if (error[i] == '\r' && i + 1 < error.size() && error[i + 1] == '\n')
            continue;
        line += error[i] == '\r' || error[i] == '\n' ? ' ' : error[i];
    }
    return line;
}

// A log, ended by the failure line when the run failed with error.
template <typename Log> Log EndedBy(Log log, const std::string& error)
{
    if (!error.empty())
        log.push_back(FailureLine(error));
    return log;
}

} // namespace mailtest::lines

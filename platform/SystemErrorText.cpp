#include "platform/SystemErrorText.h"

#include "jconvert/cp932.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string_view>

#ifndef _WIN32
#include <clocale>
#include <locale.h>
#include <netdb.h>
#endif

namespace platform {
namespace {

// The texts, written in UTF-8 and handed out in Shift_JIS.
constexpr std::string_view kNoSuchFile = "指定されたファイルが見つかりません。";
constexpr std::string_view kAccessDenied = "アクセスが拒否されました。";
constexpr std::string_view kIsFolder = "指定されたパスはフォルダーです。";
constexpr std::string_view kNotFolder = "パスの途中がフォルダーではありません。";
constexpr std::string_view kDiskFull = "ディスクに十分な空き領域がありません。";
constexpr std::string_view kReadOnly = "読み取り専用のドライブです。";
constexpr std::string_view kExists = "ファイルは既に存在します。";
constexpr std::string_view kIo = "デバイスの入出力エラーです。";
constexpr std::string_view kTooManyFiles = "開いているファイルが多すぎます。";
constexpr std::string_view kNameTooLong = "ファイル名が長すぎます。";
constexpr std::string_view kNoMemory = "メモリが不足しています。";
constexpr std::string_view kFileTooLarge = "ファイルが大きすぎます。";
constexpr std::string_view kInvalidArgument = "引数が正しくありません。";
constexpr std::string_view kConnectionRefused = "接続が拒否されました。";
constexpr std::string_view kConnectionReset = "接続が相手によってリセットされました。";
constexpr std::string_view kConnectionAborted = "接続が中止されました。";
constexpr std::string_view kTimedOut = "接続がタイムアウトしました。";
constexpr std::string_view kNetworkUnreachable = "ネットワークに到達できません。";
constexpr std::string_view kHostUnreachable = "ホストに到達できません。";
constexpr std::string_view kHostNotFound = "ホストが見つかりません。";
constexpr std::string_view kLookupAgain = "名前解決に一時的に失敗しました。";
constexpr std::string_view kUnknown = "システム エラー ";

std::string_view OwnText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return kNoSuchFile;
    case EACCES:
    case EPERM:
        return kAccessDenied;
    case EISDIR:
        return kIsFolder;
    case ENOTDIR:
        return kNotFolder;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return kDiskFull;
    case EROFS:
        return kReadOnly;
    case EEXIST:
        return kExists;
    case EIO:
        return kIo;
    case EMFILE:
    case ENFILE:
        return kTooManyFiles;
    case ENAMETOOLONG:
        return kNameTooLong;
    case ENOMEM:
        return kNoMemory;
    case EFBIG:
        return kFileTooLarge;
    case EINVAL:
        return kInvalidArgument;
    case ECONNREFUSED:
        return kConnectionRefused;
    case ECONNRESET:
    case EPIPE:
        return kConnectionReset;
    case ECONNABORTED:
        return kConnectionAborted;
    case ETIMEDOUT:
        return kTimedOut;
    case ENETUNREACH:
    case ENETDOWN:
        return kNetworkUnreachable;
    case EHOSTUNREACH:
#ifdef EHOSTDOWN
    case EHOSTDOWN:
#endif
        return kHostUnreachable;
    default:
        return {};
    }
}

#ifndef _WIN32
// The C library's messages in Japanese, when a Japanese locale is installed.
// newlocale leaves the process's own locale alone. Once found it is kept;
// while missing it is looked for again, which costs one failed file lookup.
locale_t JapaneseLocale()
{
    static std::atomic<locale_t> found { static_cast<locale_t>(nullptr) };
    if (const locale_t locale = found.load()) {
        return locale;
    }
    for (const char* name : { "ja_JP.UTF-8", "ja_JP.utf8" }) {
        if (const locale_t locale
            = newlocale(LC_CTYPE_MASK | LC_MESSAGES_MASK, name, static_cast<locale_t>(nullptr))) {
            locale_t expected = static_cast<locale_t>(nullptr);
            if (!found.compare_exchange_strong(expected, locale)) {
                freelocale(locale);
                return expected;
            }
            return locale;
        }
    }
    return static_cast<locale_t>(nullptr);
}

bool LibraryText(int errorNumber, std::string& out)
{
    const locale_t japanese = JapaneseLocale();
    if (japanese == static_cast<locale_t>(nullptr)) {
        return false;
    }
    const std::string text = strerror_l(errorNumber, japanese);
    // An untranslated message is plain ASCII: the locale has no text for it.
    bool ascii = true;
    for (const char c : text) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    if (text.empty() || ascii) {
        return false;
    }
    out = jconvert::Utf8ToCp932(text);
    return true;
}
#endif

} // namespace

std::string OwnSystemErrorText(int errorNumber)
{
    const std::string_view text = OwnText(errorNumber);
    if (!text.empty()) {
        return jconvert::Utf8ToCp932(text);
    }
    return jconvert::Utf8ToCp932(kUnknown) + std::to_string(errorNumber);
}

std::string SystemErrorText(int errorNumber)
{
#ifndef _WIN32
    std::string text;
    if (LibraryText(errorNumber, text)) {
        return text;
    }
#endif
    return OwnSystemErrorText(errorNumber);
}

std::string HostLookupErrorText(int lookupCode, int systemError)
{
#ifndef _WIN32
    switch (lookupCode) {
    case EAI_AGAIN:
        return jconvert::Utf8ToCp932(kLookupAgain);
    case EAI_MEMORY:
        return jconvert::Utf8ToCp932(kNoMemory);
    case EAI_SYSTEM:
        return SystemErrorText(systemError);
    default:
        break;
    }
#else
    (void)lookupCode;
    (void)systemError;
#endif
    // Unknown names, names without an address and failed servers all mean
    // to the user that the server name was not found.
    return jconvert::Utf8ToCp932(kHostNotFound);
}

} // namespace platform

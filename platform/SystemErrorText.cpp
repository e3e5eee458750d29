#include "platform/SystemErrorText.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string_view>

#ifndef _WIN32
#include <clocale>
#include <iconv.h>
#include <locale.h>
#include <netdb.h>
#endif

namespace platform {
namespace {

// The texts as Shift_JIS bytes; the comment shows each.
constexpr char kNoSuchFile[] = "\x8ew\x92\xe8\x82\xb3\x82\xea\x82\xbd\x83t\x83\x40\x83"
                               "C\x83\x8b\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81"
                               "B"; // 指定されたファイルが見つかりません。
constexpr char kAccessDenied[]
    = "\x83"
      "A\x83N\x83Z\x83X\x82\xaa\x8b\x91\x94\xdb\x82\xb3\x82\xea\x82\xdc\x82\xb5\x82\xbd\x81"
      "B"; // アクセスが拒否されました。
constexpr char kIsFolder[]
    = "\x8ew\x92\xe8\x82\xb3\x82\xea\x82\xbd\x83p\x83X\x82\xcd\x83t\x83H\x83\x8b\x83\x5f\x81"
      "\x5b\x82\xc5\x82\xb7\x81"
      "B"; // 指定されたパスはフォルダーです。
constexpr char kNotFolder[]
    = "\x83p\x83X\x82\xcc\x93r\x92\x86\x82\xaa\x83t\x83H\x83\x8b\x83\x5f\x81\x5b\x82\xc5\x82"
      "\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81"
      "B"; // パスの途中がフォルダーではありません。
constexpr char kDiskFull[]
    = "\x83"
      "f\x83"
      "B\x83X\x83N\x82\xc9\x8f\x5c\x95\xaa\x82\xc8\x8b\xf3\x82\xab\x97\xcc\x88\xe6\x82\xaa\x82"
      "\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81"
      "B"; // ディスクに十分な空き領域がありません。
constexpr char kReadOnly[] = "\x93\xc7\x82\xdd\x8e\xe6\x82\xe8\x90\xea\x97p\x82\xcc\x83h\x83\x89\x83"
                             "C\x83u\x82\xc5\x82\xb7\x81"
                             "B"; // 読み取り専用のドライブです。
constexpr char kExists[] = "\x83t\x83\x40\x83"
                           "C\x83\x8b\x82\xcd\x8a\xf9\x82\xc9\x91\xb6\x8d\xdd\x82\xb5\x82\xdc\x82\xb7\x81"
                           "B"; // ファイルは既に存在します。
constexpr char kIo[] = "\x83"
                       "f\x83o\x83"
                       "C\x83X\x82\xcc\x93\xfc\x8fo\x97\xcd\x83G\x83\x89\x81\x5b\x82\xc5\x82\xb7\x81"
                       "B"; // デバイスの入出力エラーです。
constexpr char kTooManyFiles[] = "\x8aJ\x82\xa2\x82\xc4\x82\xa2\x82\xe9\x83t\x83\x40\x83"
                                 "C\x83\x8b\x82\xaa\x91\xbd\x82\xb7\x82\xac\x82\xdc\x82\xb7\x81"
                                 "B"; // 開いているファイルが多すぎます。
constexpr char kNameTooLong[] = "\x83t\x83\x40\x83"
                                "C\x83\x8b\x96\xbc\x82\xaa\x92\xb7\x82\xb7\x82\xac\x82\xdc\x82\xb7\x81"
                                "B"; // ファイル名が長すぎます。
constexpr char kNoMemory[]
    = "\x83\x81\x83\x82\x83\x8a\x82\xaa\x95s\x91\xab\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7\x81"
      "B"; // メモリが不足しています。
constexpr char kFileTooLarge[] = "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x91\xe5\x82\xab\x82\xb7\x82\xac"
                                 "\x82\xdc\x82\xb7\x81\x42"; // ファイルが大きすぎます。
constexpr char kInvalidArgument[]
    = "\x88\xf8\x90\x94\x82\xaa\x90\xb3\x82\xb5\x82\xad\x82\xa0\x82\xe8\x82\xdc\x82\xb9"
      "\x82\xf1\x81"
      "B"; // 引数が正しくありません。
constexpr char kConnectionRefused[]
    = "\x90\xda\x91\xb1\x82\xaa\x8b\x91\x94\xdb\x82\xb3\x82\xea\x82\xdc\x82\xb5\x82"
      "\xbd\x81"
      "B"; // 接続が拒否されました。
constexpr char kConnectionReset[]
    = "\x90\xda\x91\xb1\x82\xaa\x91\x8a\x8e\xe8\x82\xc9\x82\xe6\x82\xc1\x82\xc4\x83\x8a"
      "\x83Z\x83"
      "b\x83g\x82\xb3\x82\xea\x82\xdc\x82\xb5\x82\xbd\x81"
      "B"; // 接続が相手によってリセットされました。
constexpr char kConnectionAborted[]
    = "\x90\xda\x91\xb1\x82\xaa\x92\x86\x8e\x7e\x82\xb3\x82\xea\x82\xdc\x82\xb5\x82"
      "\xbd\x81"
      "B"; // 接続が中止されました。
constexpr char kTimedOut[] = "\x90\xda\x91\xb1\x82\xaa\x83\x5e\x83"
                             "C\x83\x80\x83"
                             "A\x83"
                             "E\x83g\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81"
                             "B"; // 接続がタイムアウトしました。
constexpr char kNetworkUnreachable[] = "\x83l\x83"
                                       "b\x83g\x83\x8f\x81\x5b\x83N\x82\xc9\x93\x9e\x92"
                                       "B\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81"
                                       "B"; // ネットワークに到達できません。
constexpr char kHostUnreachable[] = "\x83z\x83X\x83g\x82\xc9\x93\x9e\x92"
                                    "B\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81"
                                    "B"; // ホストに到達できません。
constexpr char kHostNotFound[]
    = "\x83z\x83X\x83g\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81"
      "B"; // ホストが見つかりません。
constexpr char kLookupAgain[]
    = "\x96\xbc\x91O\x89\xf0\x8c\x88\x82\xc9\x88\xea\x8e\x9e\x93I\x82\xc9\x8e\xb8\x94s\x82"
      "\xb5\x82\xdc\x82\xb5\x82\xbd\x81"
      "B"; // 名前解決に一時的に失敗しました。
constexpr char kUnknown[] = "\x83V\x83X\x83"
                            "e\x83\x80 \x83G\x83\x89\x81\x5b "; // システム エラー

const char* OwnText(int errorNumber)
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
        return nullptr;
    }
}

#ifndef _WIN32
// UTF-8 to Shift_JIS (code page 932); nothing when a character has no
// Shift_JIS form, so that the caller falls back to its own text.
bool Utf8ToSjis(std::string_view utf8, std::string& out)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::string input(utf8);
    std::string result(input.size() * 2 + 8, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* outPtr = result.data();
    std::size_t outLeft = result.size();
    const std::size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || inLeft != 0) {
        return false;
    }
    result.resize(result.size() - outLeft);
    out = std::move(result);
    return true;
}

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
    return !text.empty() && !ascii && Utf8ToSjis(text, out);
}
#endif

} // namespace

std::string OwnSystemErrorText(int errorNumber)
{
    if (const char* text = OwnText(errorNumber)) {
        return text;
    }
    return kUnknown + std::to_string(errorNumber);
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
        return kLookupAgain;
    case EAI_MEMORY:
        return kNoMemory;
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
    return kHostNotFound;
}

} // namespace platform

#pragma once

// Memo mails shaped as today's mail programs send them (files under
// memo-mails/), with the subject and memo text each must give when read as
// MIME mail. Texts are written here in UTF-8 and compared in Shift_JIS.

#include "jconvert/cp932.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace mailtest {

struct MemoMail {
    const char* file;
    const char* subject; // UTF-8
    const char* body; // UTF-8, CR LF line ends; "" when nothing is taken
    bool unreadable = false; // the body is the unknown uuencode scheme error
};

inline const std::vector<MemoMail>& MemoMails()
{
    static const std::vector<MemoMail> mails {
        { "01-webmail-alternative.eml", "メモ：買い物", "牛乳と卵を買う\r\nパンも\r\n" },
        { "02-phone-quoted-printable.eml", "メモ 歯医者",
            "明日10時に歯医者〓\r\n保険証を忘れずに。長い行は途中で折り返されても一行のままです。\r\n" },
        { "03-utf8-8bit-flowed.eml", "メモ：連絡",
            "これは長い行で、途中で折り返されています。\r\nFrom the desk\r\n-- \r\njiro\r\n" },
        { "04-desktop-iso2022jp-multipart.eml", "メモ：会議", "会議は３時から\r\n会議室Ａ\r\n" },
        { "05-html-only.eml", "メモ　リスト", "買い物リスト\r\n牛乳\r\n卵 & パン\r\n〓 ok <3 あ\r\n" },
        { "06-nested-mixed-attachment.eml", "メモ：写真", "写真を送る\r\n" },
        { "07-split-encoded-words.eml", "メモ：買 milk", "buy milk\r\n" },
        { "08-sjis-subject-euc-body.eml", "メモabc", "予約の確認\r\n" },
        { "09-unknown-uu-scheme.eml", "メモ", "", true },
    };
    return mails;
}

inline std::string ReadMemoMail(const std::string& file)
{
    std::ifstream in(std::string(CORKPANE_MEMO_MAILS_DIR) + "/" + file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::string Sjis(const char* utf8)
{
    return jconvert::Utf8ToCp932(utf8);
}

} // namespace mailtest

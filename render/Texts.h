#pragma once

// The fixed texts of a draw: its error messages, the font and the title's
// defaults. Written in UTF-8, held as Shift_JIS.

#include "jconvert/cp932.h"

#include <string>

namespace render::texts {

inline const std::string kInvalidBitmap = jconvert::Utf8ToCp932("ビットマップイメージが不正です");
inline const std::string kScanlineOutOfRange
    = jconvert::Utf8ToCp932("スキャンライン のインデックスが範囲を越えました");
// The font every text block is drawn in.
inline const std::string kMsGothic = jconvert::Utf8ToCp932("ＭＳ ゴシック");
// The memo title until the user sets one.
inline const std::string kDefaultTitle = jconvert::Utf8ToCp932("忘れずに！");
// Weekday characters from Sunday, shown after the date in the title.
inline const std::string kWeekdays[7] = { jconvert::Utf8ToCp932("日"), jconvert::Utf8ToCp932("月"),
    jconvert::Utf8ToCp932("火"), jconvert::Utf8ToCp932("水"), jconvert::Utf8ToCp932("木"),
    jconvert::Utf8ToCp932("金"), jconvert::Utf8ToCp932("土") };
// A picture file that exists but cannot be shown: "ファイル "<name>" は絵と
// して読めません。" and one of the reasons below (or a decoder's message).
inline const std::string kPictureFilePrefix = jconvert::Utf8ToCp932("ファイル \"");
inline const std::string kPictureFileNotRead = jconvert::Utf8ToCp932("\" は絵として読めません。");
inline const std::string kUnknownPictureKind
    = jconvert::Utf8ToCp932("JPEG、PNG、BMP、GIF、TIFF、WebP、SVG のどの形式でもありません。");
inline const std::string kBrokenPicture = jconvert::Utf8ToCp932("絵のデータが壊れています。");
inline const std::string kPictureTooLarge = jconvert::Utf8ToCp932("絵が大きすぎます。");
inline const std::string kNoSlideShowPicture
    = jconvert::Utf8ToCp932("背景の一覧 (XML) に今表示する絵がありません。");
inline const std::string kNestedSlideShow
    = jconvert::Utf8ToCp932("背景の一覧 (XML) が別の一覧を指しています。");
// Followed by the decoder's error number.
inline const std::string kJpegError = jconvert::Utf8ToCp932("JPEG エラー #");

} // namespace render::texts

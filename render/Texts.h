#pragma once

// The messages a draw can end with. Written in UTF-8, held as Shift_JIS.

#include "jconvert/cp932.h"

#include <string>

namespace render::texts {

inline const std::string kInvalidBitmap = jconvert::Utf8ToCp932("ビットマップイメージが不正です");
inline const std::string kScanlineOutOfRange
    = jconvert::Utf8ToCp932("スキャンライン のインデックスが範囲を越えました");
// Followed by the decoder's error number.
inline const std::string kJpegError = jconvert::Utf8ToCp932("JPEG エラー #");

} // namespace render::texts

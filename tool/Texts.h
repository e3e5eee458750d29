#pragma once

// corkpane-tool's own fixed texts, written in UTF-8 and held as Shift_JIS
// like every other message of the program; the dispatcher writes them in the
// locale's encoding.

#include "jconvert/cp932.h"

#include <string>

namespace tool::texts {

// Followed by the system's reason.
inline const std::string kStandardInputUnreadable = jconvert::Utf8ToCp932("標準入力は読み込めません。");
inline const std::string kStandardOutputUnwritable = jconvert::Utf8ToCp932("標準出力に書き込めません。");
// Around the full tool's name, then the system's reason.
inline const std::string kCannotRunBefore = jconvert::Utf8ToCp932("プログラム \"");
inline const std::string kCannotRunAfter = jconvert::Utf8ToCp932("\" を実行できません。");
// Before the drawn file's name, when the desktop did not take it.
inline const std::string kWallpaperNotTaken
    = jconvert::Utf8ToCp932("壁紙を設定できませんでした (デスクトップが受け付けませんでした)。描いた画像: ");

} // namespace tool::texts

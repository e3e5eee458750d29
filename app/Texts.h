#pragma once

// The fixed texts of the window's state and runs: what a run says about
// files it could not read and about another run using the same files.
// Written in UTF-8, held as Shift_JIS.

#include "jconvert/cp932.h"

#include <string>

namespace app::texts {

// Ends a sentence.
inline const std::string kFullStop = jconvert::Utf8ToCp932("。");
// Follows the cannot-open message of a memo or settings file that a load
// could not read: the save at the end of the run leaves it as it is.
inline const std::string kNotOverwritten
    = jconvert::Utf8ToCp932("読み込めなかったファイルには上書きしません。");

// Around the folder's full name: another run holds its files.
inline const std::string kFolderInUse = jconvert::Utf8ToCp932("フォルダー \"");
inline const std::string kInUseByAnotherRun
    = jconvert::Utf8ToCp932("\" のファイルは、別の Corkpane が使用中です。");
// Follows kInUseByAnotherRun: this run waits for the other one.
inline const std::string kWaitingUpTo = jconvert::Utf8ToCp932("終わるまで待ちます (最長 ");
inline const std::string kSecondsClose = jconvert::Utf8ToCp932(" 秒)。");
// Follows kInUseByAnotherRun: the wait ended without the other run ending.
inline const std::string kWaitedSeconds
    = jconvert::Utf8ToCp932(" 秒待っても終わらなかったため、何もせずに終了します。");
// Follows kInUseByAnotherRun: the daily redraw leaves the day's draw to it.
inline const std::string kRedrawSkipped = jconvert::Utf8ToCp932("今回の描き直しは行いません。");

} // namespace app::texts

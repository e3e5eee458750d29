#pragma once

// The schedule's fixed texts: the results it reports. Written in UTF-8, held
// as Shift_JIS.

#include "jconvert/cp932.h"

#include <string>

namespace schedule::texts {

// Follows the number of days until an upcoming date.
inline const std::string kDaysLater = jconvert::Utf8ToCp932("日後");
// Follows the row number of the first date that does not parse.
inline const std::string kDateError = jconvert::Utf8ToCp932("行目の予定日にエラーがあります.");
// Follows the cannot-open message of a schedule file that could not be read
// when a save would replace it.
inline const std::string kNotOverwritten
    = jconvert::Utf8ToCp932("読み込めなかったファイルには上書きしません。");

} // namespace schedule::texts

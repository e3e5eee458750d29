#pragma once

// The schedule's fixed texts: the grid's column captions and the results it
// reports. Written in UTF-8, held as Shift_JIS.

#include "jconvert/cp932.h"

#include <string>

namespace schedule::texts {

inline const std::string kDateCaption = jconvert::Utf8ToCp932(" 　予定日");
inline const std::string kTextCaption = jconvert::Utf8ToCp932("　　スケジュール");
// Follows the number of days until an upcoming date.
inline const std::string kDaysLater = jconvert::Utf8ToCp932("日後");
// Follows the row number of the first date that does not parse.
inline const std::string kDateError = jconvert::Utf8ToCp932("行目の予定日にエラーがあります.");

} // namespace schedule::texts

#pragma once

// The schedule's fixed texts: the results it reports. Written in UTF-8, held
// as Shift_JIS.

#include "jconvert/cp932.h"

#include <string>

namespace schedule::texts {

// Follows the number of days until an upcoming date.
inline const std::string kDaysLater = jconvert::Utf8ToCp932("日後");
// A holiday's date in its upcoming line: "<m>月<d>日".
inline const std::string kMonth = jconvert::Utf8ToCp932("月");
inline const std::string kDay = jconvert::Utf8ToCp932("日");
// The check's message for a date it cannot place:
// "<row>行目の予定日「<typed>」は<problem>例：<examples>".
inline const std::string kCheckRow = jconvert::Utf8ToCp932("行目の予定日「");
inline const std::string kCheckIs = jconvert::Utf8ToCp932("」は");
inline const std::string kCheckCut = jconvert::Utf8ToCp932("…");
inline const std::string kCheckExamples = jconvert::Utf8ToCp932("例：");
// The problems, each a sentence or two ending in 。.
inline const std::string kFaultForm = jconvert::Utf8ToCp932(
    "書式が正しくありません。日付には「年」「月」「日」、曜日には「曜」を付けて書きます。");
inline const std::string kFaultFields = jconvert::Utf8ToCp932(
    "読めない文字を含んでいます。数字と「年」「月」「日」「第」「曜」だけで書きます。");
inline const std::string kFaultWeekday
    = jconvert::Utf8ToCp932("曜日が正しくありません。曜日は日月火水木金土のどれかです。");
inline const std::string kFaultDayOfMonth
    = jconvert::Utf8ToCp932("日が正しくありません。日は1から31までです。");
inline const std::string kFaultNth
    = jconvert::Utf8ToCp932("「第」の数が正しくありません。第1から第5までです。");
inline const std::string kFaultMonth = jconvert::Utf8ToCp932("月が正しくありません。月は1から12までです。");
// "存在しない日付です。[その年の]<m>月は<d>日までです。"
inline const std::string kFaultNoSuchDay = jconvert::Utf8ToCp932("存在しない日付です。");
inline const std::string kFaultThatYear = jconvert::Utf8ToCp932("その年の");
inline const std::string kFaultMonthHas = jconvert::Utf8ToCp932("月は");
inline const std::string kFaultDaysUntil = jconvert::Utf8ToCp932("日までです。");
inline const std::string kFaultYear
    = jconvert::Utf8ToCp932("年が正しくありません。西暦は1年から9999年まで、平成と令和は元年からです。");
// Examples of the accepted forms: for a text that is no date at all, then
// for each kind 1 to 7.
inline const std::string kExamplesAny = jconvert::Utf8ToCp932("2026年12月24日、毎週水曜日、毎月第2火曜日");
inline const std::string kExamplesByKind[7] = {
    jconvert::Utf8ToCp932("毎週水曜日、毎週日曜日"),
    jconvert::Utf8ToCp932("毎月15日、毎月1日"),
    jconvert::Utf8ToCp932("毎月第2火曜日、毎月第1日曜日"),
    jconvert::Utf8ToCp932("毎年4月1日、毎年12月25日"),
    jconvert::Utf8ToCp932("毎年1月第2月曜日、毎年9月第3月曜日"),
    jconvert::Utf8ToCp932("4月1日、12月25日"),
    jconvert::Utf8ToCp932("2026年12月24日、令和8年12月24日、平成17年4月1日"),
};
// The reason a schedule file with more lines than the table holds is not
// read (after the cannot-open message naming it).
// "行数が多すぎます (<limit> 行まで)。ファイルはそのまま残します。"
inline const std::string kTooManyRows = jconvert::Utf8ToCp932("行数が多すぎます (");
inline const std::string kTooManyRowsEnd = jconvert::Utf8ToCp932(" 行まで)。ファイルはそのまま残します。");
// The reason a save is refused that would write more than a start reads.
inline const std::string kTooLarge = jconvert::Utf8ToCp932(
    "予定の文字が多すぎるため保存できません (1 MB まで)。予定を減らしてから保存してください。");
// Follows the cannot-open message of a schedule file that could not be read
// when a save would replace it.
inline const std::string kNotOverwritten
    = jconvert::Utf8ToCp932("読み込めなかったファイルには上書きしません。");

} // namespace schedule::texts

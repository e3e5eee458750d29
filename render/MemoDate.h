#pragma once

#include <QLocale>
#include <chrono>
#include <functional>
#include <string>

namespace render {

// Formats a date as the title shows it, in Shift_JIS.
using ShortDateFormat = std::function<std::string(const std::chrono::year_month_day&)>;

// The locale's short date form, for example 2026/12/07 for ja_JP; in the
// C (POSIX) locale the Japanese form yyyy/MM/dd.
std::string LocaleShortDate(const QLocale& locale, const std::chrono::year_month_day& date);
// LocaleShortDate with the user's own locale (LC_ALL, LC_TIME, LANG).
std::string SystemShortDate(const std::chrono::year_month_day& date);

// "日", "月", "火", "水", "木", "金", "土" by weekday.
std::string WeekdayName(int weekday);

// The memo title: the title text, and when withDate, the short date, "(",
// the weekday name and ")" with no separator.
std::string BuildTitle(const std::string& title, bool withDate, const std::chrono::year_month_day& today,
    const ShortDateFormat& format);

} // namespace render

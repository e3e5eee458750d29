#include "render/MemoDate.h"

#include "platform/SjisText.h"
#include "render/Texts.h"

#include <QDate>
#include <chrono>

namespace render {

std::string LocaleShortDate(const QLocale& locale, const Date& date)
{
    const QDate day(date.year, date.month, date.day);
    // The C and POSIX locales have no date form of their own (Qt's is
    // d MMM yyyy in English): the Japanese short date is the natural one.
    if (locale.language() == QLocale::C)
        return platform::ToSjis(day.toString(QStringLiteral("yyyy/MM/dd")));
    return platform::ToSjis(locale.toString(day, QLocale::ShortFormat));
}

std::string SystemShortDate(const Date& date)
{
    return LocaleShortDate(QLocale::system(), date);
}

int WeekdayOf(const Date& date)
{
    const std::chrono::year_month_day ymd { std::chrono::year(date.year),
        std::chrono::month(static_cast<unsigned>(date.month)),
        std::chrono::day(static_cast<unsigned>(date.day)) };
    return static_cast<int>(std::chrono::weekday(std::chrono::sys_days(ymd)).c_encoding());
}

std::string WeekdayName(int weekday)
{
    return texts::kWeekdays[((weekday % 7) + 7) % 7];
}

std::string BuildTitle(
    const std::string& title, bool withDate, const Date& today, const ShortDateFormat& format)
{
    if (!withDate)
        return title;
    return title + (format ? format(today) : SystemShortDate(today)) + "(" + WeekdayName(WeekdayOf(today))
        + ")";
}

} // namespace render
